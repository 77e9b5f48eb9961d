#pragma once
// The recovery copy of the window's unsaved trigger list. While the list holds unsaved work a
// copy is written a few seconds after the last change, on a thread of its own; it goes once the
// work is saved, cleared or given up. Each copy lies in the recovery folder with a lock file
// beside it (QLockFile) that the window holds while it runs, so no other window takes it.
#include <QObject>
#include <memory>
#include <optional>
#include <string>

#include "listedit/program_state.h"
#include "listedit/recovery_writer.h"

class QLockFile;
class QTimer;

namespace quarrix {

class TSynEdit;

// The folder of the user's recovery copies: "recovery" in the application's local data folder.
std::string UserRecoveryFolder();

// A copy's lock: QLockFile at PATH.lock that never goes stale by age, only with its process.
std::unique_ptr<QLockFile> RecoveryLockOf(const std::string& copy_path);

class RecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  // The quiet time after the last change before a copy is written.
  static constexpr int kQuietMs = 2000;

  RecoveryKeeper(std::string folder, const TSynEdit& editor, const ProgramState& state,
                 QObject* parent = nullptr);
  // Waits for the copy being written; the copy stays, its lock goes.
  ~RecoveryKeeper() override;

  const std::string& folder() const { return folder_; }
  // The window's copy, once it has one.
  const std::string& CopyPath() const { return path_; }

  // After an edit or a command: with unsaved work a copy is due once the list is quiet,
  // without it the copy goes.
  void ListChanged();
  // Writes the copy at once and waits for it (the session's commit request). The failure's
  // text, if it failed.
  std::optional<std::string> WriteNow();
  // The program ends by a signal: writes the copy at once and keeps it from then on.
  std::optional<std::string> KeepForGood();
  // The exit prompt was answered: the copy goes, and no other is kept from then on.
  void LetGo();
  // Takes over a recovered copy as the window's own; its lock is already held.
  void Adopt(std::string path, std::unique_ptr<QLockFile> lock);
  // After KeepForGood or LetGo.
  bool Finished() const { return finished_; }

 private:
  // False when no copy could be reserved in the folder.
  bool WriteCopy();
  void Discard();
  bool Reserve();

  std::string folder_;
  const TSynEdit& editor_;
  const ProgramState& state_;
  QTimer* timer_ = nullptr;
  std::unique_ptr<QLockFile> lock_;
  std::string path_;
  bool written_ = false;  // a copy may lie at path_
  bool finished_ = false;
  RecoveryWriter writer_;  // last: it finishes before the lock goes
};

}  // namespace quarrix
