#include "platform/win_shortcut_writer.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>

#include "platform/win_com.h"

namespace quarrix {
namespace {

std::string Failure(const char* step, HRESULT result) {
  char text[64];
  std::snprintf(text, sizeof text, "%s failed (0x%08lX)", step, static_cast<unsigned long>(result));
  return text;
}

}  // namespace

LinkWriteReport WinShortcutWriter::Write(const LinkContents& link, const std::string& link_file) {
  ComScope com;
  // Declared after the scope so the interfaces are released before COM is left.
  ComPointer<IShellLinkA> shell_link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    shell_link.out());
  if (FAILED(result)) {
    return {ShortcutOutcome::kNoLinkObject, Failure("CoCreateInstance(ShellLink)", result)};
  }
  shell_link->SetPath(link.target_path.c_str());
  shell_link->SetArguments(link.arguments.c_str());
  shell_link->SetWorkingDirectory(link.working_directory.c_str());
  shell_link->SetDescription(link.description.c_str());
  shell_link->SetHotkey(link.hot_key);

  ComPointer<IPersistFile> file;
  result = shell_link->QueryInterface(IID_IPersistFile, file.out());
  if (FAILED(result)) {
    return {ShortcutOutcome::kNoLinkObject, Failure("QueryInterface(IPersistFile)", result)};
  }
  wchar_t wide_name[MAX_PATH];
  // A name that does not fit (terminator included) is refused rather than cut short.
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, link_file.c_str(), -1, wide_name, MAX_PATH) ==
      0) {
    return {ShortcutOutcome::kNameTooLong,
            Failure("MultiByteToWideChar", HRESULT_FROM_WIN32(GetLastError()))};
  }
  result = file->Save(wide_name, TRUE);
  if (FAILED(result)) return {ShortcutOutcome::kSaveFailed, Failure("IPersistFile::Save", result)};
  return {ShortcutOutcome::kWritten, {}};
}

std::unique_ptr<ShortcutWriter> MakeSystemShortcutWriter() {
  return std::make_unique<WinShortcutWriter>();
}

}  // namespace quarrix
