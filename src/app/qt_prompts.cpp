#include "app/qt_prompts.h"

#include <QMessageBox>

#include "app/frm_main.h"
#include "controls/lum_mesg.h"
#include "extract/frm_problems.h"

namespace quarrix {
namespace {

QString Text(const std::string& bytes) { return QString::fromLocal8Bit(bytes); }

}  // namespace

int QtPrompts::MessageShow(const std::string& message, const std::string& title,
                           const std::string& buttons, int x, int y) {
  return main_->LumMesg1->MessageShow(Text(message), Text(title), Text(buttons), x, y);
}

int QtPrompts::ShowMessage(const std::string& message) {
  return main_->LumMesg1->ShowMessage(Text(message));
}

bool QtPrompts::RunOpenDialog(FileDialogState& state) {
  return RunFileDialog(main_, state, FileDialogMode::kOpen, look_);
}

bool QtPrompts::RunSaveDialog(FileDialogState& state) {
  return RunFileDialog(main_, state, FileDialogMode::kSave, look_);
}

bool QtPrompts::RunOptionsDialog() { return run_options_ && run_options_(); }

bool QtPrompts::RunFindDialog() { return run_find_ && run_find_(); }

std::optional<std::vector<std::size_t>> QtPrompts::ChooseSounds(const SoundRows& rows) {
  if (!run_browser_) return std::nullopt;
  return run_browser_(rows);
}

std::optional<std::size_t> QtPrompts::RunProblemsDialog(const std::vector<ProblemRow>& rows) {
  TfrmProblems dialog(rows, main_);
  return dialog.Execute();
}

void QtPrompts::ShowError(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, Text(app_title_), Text(message), QMessageBox::Ok, main_);
  box.exec();
}

}  // namespace quarrix
