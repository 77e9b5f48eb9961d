#pragma once
// Scripted shell services for the shortcut maker: folders from a table, a writer that
// records each link it is given and answers as told.
#include <map>
#include <string>
#include <vector>

#include "app/shortcut_maker.h"

namespace quarrix::testing {

class FakeShellFolders final : public ShellFolders {
 public:
  std::string FolderPath(int folder_id) override {
    asked.push_back(folder_id);
    const auto found = paths.find(folder_id);
    return found == paths.end() ? std::string() : found->second;
  }
  std::map<int, std::string> paths;
  std::vector<int> asked;
};

class FakeShortcutWriter final : public ShortcutWriter {
 public:
  struct Call {
    LinkContents link;
    std::string link_file;
  };
  LinkWriteReport Write(const LinkContents& link, const std::string& link_file) override {
    calls.push_back({link, link_file});
    return {answer, answer == ShortcutOutcome::kWritten ? "" : "refused"};
  }
  ShortcutOutcome answer = ShortcutOutcome::kWritten;
  std::vector<Call> calls;
};

}  // namespace quarrix::testing
