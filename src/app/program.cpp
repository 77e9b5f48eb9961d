#include "app/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/ending_signals.h"
#include "app/error_display.h"
#include "app/file_drop.h"
#include "app/frm_main.h"
#include "app/kept_options.h"
#include "app/program_paths.h"
#include "app/qt_prompts.h"
#include "app/recovered_lists.h"
#include "app/recovery_keeper.h"
#include "extract/extraction_command.h"
#include "extract/frm_choose_sounds.h"
#include "extract/frm_config.h"
#include "listedit/document_commands.h"
#include "listedit/frm_find.h"

namespace quarrix {
namespace {

// An installed program cannot write its own folder; the user's documents folder serves then.
std::string WorkFolderFor(const std::string& program_folder) {
  if (CanCreateFilesIn(program_folder)) return program_folder;
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  return QFile::encodeName(QDir::cleanPath(documents)).toStdString() + "/";
}

// The exit code of a program ended by a signal, as shells report one.
constexpr int kSignalExitBase = 128;

}  // namespace

void ReturnLargeBlocksToTheSystem() {
#if defined(__GLIBC__)
  // A fixed threshold also stops glibc from raising it after each large free, which would
  // send the next command's arrays to the heap.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

std::vector<std::string> FilesGivenAtStart(int argc, char** argv) {
  std::vector<std::string> files;
#ifdef _WIN32
  // The ANSI arguments cannot hold every name: Qt's list comes from the wide command line.
  (void)argc;
  (void)argv;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& name = arguments[i];
    files.push_back(QFile::encodeName(name.isEmpty() ? name : QFileInfo(name).absoluteFilePath())
                        .toStdString());
  }
#else
  // QApplication has taken its own options out of argv; the rest are the bytes of the names,
  // made absolute as they are (a recovered list outlives the folder it was started in).
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(argv[i], error);
    files.push_back(error || *argv[i] == '\0' ? std::string(argv[i])
                                              : path.lexically_normal().string());
  }
#endif
  return files;
}

Program::Program(ProgramSeams seams)
    : executable_path_(
          seams.executable_path.empty()
              ? QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()
              : seams.executable_path),
      app_title_(AppTitleOf(executable_path_)),
      open_settings_(std::move(seams.open_settings)) {
  if (seams.sounds == nullptr) own_sounds_ = MakeSystemSounds();
  sounds_ = seams.sounds != nullptr ? seams.sounds : own_sounds_.get();
  if (seams.prompts == nullptr) {
    own_prompts_ = std::make_unique<QtPrompts>();
    own_prompts_->SetAppTitle(app_title_);
  }
  prompts_ = seams.prompts != nullptr ? seams.prompts : own_prompts_.get();
  if (seams.sound_player == nullptr) own_sound_player_ = MakeSystemSoundPlayer();
  SoundPlayer& player = seams.sound_player != nullptr ? *seams.sound_player : *own_sound_player_;

  frm_main_ = std::make_unique<TfrmMain>(state_, *prompts_, *sounds_, player, executable_path_);
  if (!seams.recovery_folder.empty()) frm_main_->KeepRecoveryCopiesIn(seams.recovery_folder);
  if (own_prompts_) own_prompts_->AttachMainWindow(frm_main_.get());
  state_.work_folder = WorkFolderFor(state_.program_folder);

  // The options dialog, parented to the main window so it is centred on it.
  frm_config_ = std::make_unique<TfrmConfig>(frm_main_.get());
  if (own_prompts_) {
    own_prompts_->SetOptionsDialog([config = frm_config_.get()] {
      config->exec();
      return config->Submitted();
    });
  }

  if (own_prompts_) {
    own_prompts_->SetSoundBrowser([this, &player](const SoundRows& rows) {
      const std::unique_ptr<QSettings> settings = open_settings_ ? open_settings_() : nullptr;
      TfrmChooseSounds browser(rows, player, settings.get(), frm_main_.get());
      return browser.exec() == QDialog::Accepted
                 ? std::optional<std::vector<std::size_t>>(browser.TickedRows())
                 : std::nullopt;
    });
  }

  frm_main_->SetDialogs(frm_config_.get(), nullptr);
  if (open_settings_) {
    if (const std::unique_ptr<QSettings> settings = open_settings_()) {
      ReadKeptOptions(*settings, *frm_config_);
    }
  }

  // The find dialog comes after the options dialog and stays hidden until Find First.
  frm_find_ = std::make_unique<TfrmFind>(frm_main_.get());
  frm_main_->SetDialogs(frm_main_->Context().config, frm_find_.get());
  if (own_prompts_) own_prompts_->SetFindDialog([this] { return frm_find_->Execute(); });
}

Program::~Program() = default;

void Program::KeepOptions() {
  if (!open_settings_) return;
  if (const std::unique_ptr<QSettings> settings = open_settings_()) {
    WriteKeptOptions(*settings, *frm_config_);
  }
}

void Program::Start(const std::vector<std::string>& files) {
  CommandContext& context = frm_main_->Context();
  RecoveryKeeper* keeper = frm_main_->Recovery();
  if (keeper != nullptr)
    RunGuarded(*prompts_, *sounds_, [&] { OfferRecoveryCopies(context, *keeper); });
  if (files.empty() || (keeper != nullptr && keeper->Finished())) return;
  RunGuarded(*prompts_, *sounds_, [&] {
    switch (KindOfDrop(files)) {
      case DropKind::kTriggerFile:
        OpenTriggerFileAt(context, files.front());
        break;
      case DropKind::kPackages:
        GetQuoomsFrom(context, files);
        break;
      case DropKind::kRefused:
        throw RefusalOf(files);
    }
  });
  if (keeper != nullptr) keeper->ListChanged();
}

void Program::EndCleanlyOnSignals() {
  ending_signals_ = std::make_unique<EndingSignals>();
  QObject::connect(ending_signals_.get(), &EndingSignals::Received, ending_signals_.get(),
                   [this](int signal_number) {
                     if (RecoveryKeeper* keeper = frm_main_->Recovery()) {
                       if (const std::optional<std::string> failure = keeper->KeepForGood()) {
                         std::fprintf(stderr, "Quarrix: %s\n", failure->c_str());
                       }
                     }
                     signal_exit_code_ = kSignalExitBase + signal_number;
                     QCoreApplication::exit(signal_exit_code_);
                   });
  // A logout may still be cancelled: the copy is written and the program goes on.
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, ending_signals_.get(),
                   [this](QSessionManager&) {
                     if (RecoveryKeeper* keeper = frm_main_->Recovery()) keeper->WriteNow();
                   });
}

int Program::ExitCode(int loop_code) const {
  return signal_exit_code_ != 0 ? signal_exit_code_ : loop_code;
}

}  // namespace quarrix
