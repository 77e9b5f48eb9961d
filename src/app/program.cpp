#include "app/program.h"

#include <QCoreApplication>
#include <QFile>

#include "app/frm_main.h"
#include "app/program_paths.h"
#include "app/qt_prompts.h"

namespace quarrix {

Program::Program(ProgramSeams seams)
    : executable_path_(
          seams.executable_path.empty()
              ? QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()
              : seams.executable_path),
      app_title_(AppTitleOf(executable_path_)) {
  if (seams.sounds == nullptr) own_sounds_ = MakeSystemSounds();
  sounds_ = seams.sounds != nullptr ? seams.sounds : own_sounds_.get();
  if (seams.prompts == nullptr) {
    own_prompts_ = std::make_unique<QtPrompts>();
    own_prompts_->SetAppTitle(app_title_);
  }
  prompts_ = seams.prompts != nullptr ? seams.prompts : own_prompts_.get();

  frm_main_ = std::make_unique<TfrmMain>(state_, *prompts_, *sounds_, executable_path_);
  if (own_prompts_) own_prompts_->AttachMainWindow(frm_main_.get());
}

Program::~Program() = default;

}  // namespace quarrix
