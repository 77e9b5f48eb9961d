#pragma once
// The real modal questions: LumMesg1 for messages, the platform's file dialogs, the
// options, find and problems dialogs, and a critical message box for errors.
#include <QPointer>
#include <functional>
#include <string>

#include "platform/prompts.h"
#include "platform/qt_file_dialog.h"

namespace quarrix {

class TfrmMain;

class QtPrompts final : public Prompts {
 public:
  // The window that owns LumMesg1 and parents the file dialogs and the error box.
  void AttachMainWindow(TfrmMain* main) { main_ = main; }
  // How the options and find dialogs are shown; each returns whether it was submitted.
  void SetOptionsDialog(std::function<bool()> run) { run_options_ = std::move(run); }
  void SetFindDialog(std::function<bool()> run) { run_find_ = std::move(run); }
  // How the sound browser is shown.
  using SoundBrowser = std::function<std::optional<std::vector<std::size_t>>(const SoundRows&)>;
  void SetSoundBrowser(SoundBrowser run) { run_browser_ = std::move(run); }
  void SetFileDialogLook(FileDialogLook look) { look_ = look; }
  void SetAppTitle(std::string title) { app_title_ = std::move(title); }

  int MessageShow(const std::string& message, const std::string& title, const std::string& buttons,
                  int x, int y) override;
  int ShowMessage(const std::string& message) override;
  bool RunOpenDialog(FileDialogState& state) override;
  bool RunSaveDialog(FileDialogState& state) override;
  bool RunOptionsDialog() override;
  bool RunFindDialog() override;
  std::optional<std::vector<std::size_t>> ChooseSounds(const SoundRows& rows) override;
  std::optional<std::size_t> RunProblemsDialog(const std::vector<ProblemRow>& rows) override;
  void ShowError(const std::string& message) override;

 private:
  QPointer<TfrmMain> main_;
  std::function<bool()> run_options_;
  std::function<bool()> run_find_;
  SoundBrowser run_browser_;
  FileDialogLook look_;
  std::string app_title_;
};

}  // namespace quarrix
