#pragma once
// A Prompts whose answers a test scripts in advance. It records every question with the
// settings it was asked with; a question without a scripted answer throws, so the error
// display shows it and the test sees it in `errors`.
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "extract/sound_rows.h"
#include "platform/prompts.h"

namespace quarrix::testing {

// A scripted answer of a file dialog: one path, several (a multi-selection), or none (the
// dialog cancelled).
class FileAnswer {
 public:
  // Implicit, so a script reads as the values it answers with.
  FileAnswer(std::nullopt_t) {}
  FileAnswer(std::string path) : paths_(std::vector<std::string>{std::move(path)}) {}
  FileAnswer(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  const std::optional<std::vector<std::string>>& paths() const { return paths_; }

 private:
  std::optional<std::vector<std::string>> paths_;
};

class ScriptedPrompts final : public Prompts {
 public:
  struct Message {
    std::string text;
    std::string title;
    std::string buttons;
    int x;
    int y;
  };

  // Answers, used front first. A file answer is the chosen path (or paths), or nullopt to
  // cancel.
  std::deque<int> message_answers;
  std::deque<FileAnswer> open_answers;
  std::deque<FileAnswer> save_answers;
  std::deque<bool> options_answers;
  std::deque<bool> find_answers;
  // The ticked rows of the sound browser, or nullopt to cancel it.
  std::deque<std::optional<std::vector<std::size_t>>> browser_answers;
  std::deque<std::optional<std::size_t>> problems_answers;  // the row gone to, or nullopt

  // What was asked.
  std::vector<Message> messages;
  std::vector<std::string> shown;  // ShowMessage texts
  std::vector<FileDialogState> open_requests;
  std::vector<FileDialogState> save_requests;
  int options_shown = 0;
  int find_shown = 0;
  // The sounds the browser was shown, one list of names a time.
  std::vector<std::vector<std::string>> browsed;
  std::vector<std::vector<ProblemRow>> problems_shown;
  std::vector<std::string> errors;

  int MessageShow(const std::string& message, const std::string& title, const std::string& buttons,
                  int x, int y) override {
    messages.push_back({message, title, buttons, x, y});
    return Take(message_answers, "message box");
  }
  int ShowMessage(const std::string& message) override {
    shown.push_back(message);
    return 1;
  }
  bool RunOpenDialog(FileDialogState& state) override {
    open_requests.push_back(state);
    return Choose(state, Take(open_answers, "open dialog"));
  }
  bool RunSaveDialog(FileDialogState& state) override {
    save_requests.push_back(state);
    return Choose(state, Take(save_answers, "save dialog"));
  }
  bool RunOptionsDialog() override {
    ++options_shown;
    return Take(options_answers, "options dialog");
  }
  bool RunFindDialog() override {
    ++find_shown;
    return Take(find_answers, "find dialog");
  }
  std::optional<std::vector<std::size_t>> ChooseSounds(const SoundRows& rows) override {
    std::vector<std::string>& names = browsed.emplace_back();
    for (const SoundRow& row : rows.rows) names.push_back(rows.SoundOf(row).name.text);
    return Take(browser_answers, "sound browser");
  }
  std::optional<std::size_t> RunProblemsDialog(const std::vector<ProblemRow>& rows) override {
    problems_shown.push_back(rows);
    return Take(problems_answers, "problems dialog");
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }

 private:
  template <typename T>
  static T Take(std::deque<T>& answers, const char* what) {
    if (answers.empty()) throw std::logic_error(std::string("unscripted ") + what);
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
  static bool Choose(FileDialogState& state, const FileAnswer& answer) {
    if (!answer.paths()) return false;
    const std::vector<std::string>& paths = *answer.paths();
    if (paths.empty() || (paths.size() > 1 && !state.multi_select)) {
      throw std::logic_error("a file dialog answered with " + std::to_string(paths.size()) +
                             " files");
    }
    state.file_names = paths;
    state.file_name = paths.front();
    return true;
  }
};

}  // namespace quarrix::testing
