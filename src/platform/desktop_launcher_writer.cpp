#include "platform/desktop_launcher_writer.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "runtime/errors.h"
#include "runtime/file_write.h"

namespace quarrix {
namespace {

// A desktop entry string value: backslash and control characters as escapes, and a leading
// blank kept from the parser's trimming.
std::string EscapeValue(std::string_view value) {
  std::string escaped;
  for (const char c : value) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case ' ':
        escaped += escaped.empty() ? "\\s" : " ";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// One word of an Exec command line: quoted when it holds a reserved character, with the
// characters that stay special inside quotes backslash-escaped; '%' doubled, as a bare '%'
// would start a field code.
std::string ExecWord(std::string_view word) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  const bool quote = word.empty() || word.find_first_of(kReserved) != std::string_view::npos;
  std::string text = quote ? "\"" : "";
  for (const char c : word) {
    if (c == '%') {
      text += "%%";
      continue;
    }
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) text += '\\';
    text += c;
  }
  if (quote) text += '"';
  return text;
}

std::string ExecLine(const LinkContents& link) {
  std::string line = ExecWord(link.target_path);
  std::string_view arguments = link.arguments;
  while (!arguments.empty()) {
    const std::size_t start = arguments.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    arguments.remove_prefix(start);
    const std::size_t end = arguments.find(' ');
    line += ' ';
    line += ExecWord(arguments.substr(0, end));
    arguments.remove_prefix(end == std::string_view::npos ? arguments.size() : end);
  }
  return line;
}

}  // namespace

std::string DesktopEntryText(const LinkContents& link) {
  std::string text = "[Desktop Entry]\nType=Application\n";
  text += "Name=" + EscapeValue(link.description) + "\n";
  text += "Comment=" + EscapeValue(link.description) + "\n";
  text += "Exec=" + EscapeValue(ExecLine(link)) + "\n";
  text += "Path=" + EscapeValue(link.working_directory) + "\n";
  return text;
}

LinkWriteReport DesktopLauncherWriter::Write(const LinkContents& link,
                                             const std::string& link_file) {
  try {
    WriteFileAtomic(link_file, DesktopEntryText(link));
  } catch (const FileCreateError& error) {
    return {ShortcutOutcome::kSaveFailed, error.what()};
  }
  namespace fs = std::filesystem;
  std::error_code error;
  fs::permissions(link_file,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  fs::perm_options::replace, error);
  if (error) return {ShortcutOutcome::kSaveFailed, "cannot make executable: " + error.message()};
  return {ShortcutOutcome::kWritten, {}};
}

std::unique_ptr<ShortcutWriter> MakeSystemShortcutWriter() {
  return std::make_unique<DesktopLauncherWriter>();
}

}  // namespace quarrix
