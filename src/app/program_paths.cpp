#include "app/program_paths.h"

#include <algorithm>
#include <cctype>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarrix {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\:/";
#else
constexpr std::string_view kSeparators = "/";
#endif

}  // namespace

std::string ProgramFolderOf(std::string_view executable_path) {
  const std::size_t last = executable_path.find_last_of(kSeparators);
  if (last == std::string_view::npos) return {};
  std::string folder(executable_path.substr(0, last + 1));
#ifdef _WIN32
  std::replace(folder.begin(), folder.end(), '/', '\\');
#endif
  return folder;
}

#ifdef _WIN32

// The folder's effective access for this process, as its security descriptor grants it,
// on a volume that can be written at all.
bool CanCreateFilesIn(const std::string& folder) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return false;
  }
  char volume[MAX_PATH + 1] = {};
  DWORD volume_flags = 0;
  if (GetVolumePathNameA(folder.c_str(), volume, sizeof volume) &&
      GetVolumeInformationA(volume, nullptr, 0, nullptr, nullptr, &volume_flags, nullptr, 0) &&
      (volume_flags & FILE_READ_ONLY_VOLUME) != 0) {
    return false;
  }

  const SECURITY_INFORMATION parts =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD needed = 0;
  GetFileSecurityA(folder.c_str(), parts, nullptr, 0, &needed);
  if (needed == 0) return false;
  std::vector<unsigned char> descriptor(needed);
  if (!GetFileSecurityA(folder.c_str(), parts, descriptor.data(), needed, &needed)) return false;

  HANDLE process_token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process_token)) {
    return false;
  }
  HANDLE token = nullptr;  // AccessCheck asks for an impersonation token
  const bool duplicated = DuplicateToken(process_token, SecurityImpersonation, &token) != 0;
  CloseHandle(process_token);
  if (!duplicated) return false;

  GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                             FILE_ALL_ACCESS};
  DWORD wanted = FILE_ADD_FILE;
  MapGenericMask(&wanted, &mapping);
  PRIVILEGE_SET privileges = {};
  DWORD privileges_size = sizeof privileges;
  DWORD granted = 0;
  BOOL allowed = FALSE;
  const BOOL checked = AccessCheck(descriptor.data(), token, wanted, &mapping, &privileges,
                                   &privileges_size, &granted, &allowed);
  CloseHandle(token);
  return checked && allowed;
}

#else

bool CanCreateFilesIn(const std::string& folder) {
  struct stat info {};
  if (folder.empty() || ::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    return false;
  }
  // Creating a file needs write and search permission for the folder, judged with the
  // effective ids; a read-only mount refuses as well.
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

#endif

std::string AppTitleOf(std::string_view executable_path) {
  std::string_view name = executable_path.substr(ProgramFolderOf(executable_path).size());
  name = name.substr(0, name.find('.'));
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

std::string WithFullStop(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace quarrix
