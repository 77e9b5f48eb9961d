#include "app/recovery_keeper.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTimer>

#include "editor/syn_edit.h"
#include "runtime/errors.h"

namespace quarrix {
namespace {

constexpr int kNameTries = 32;

QString Decoded(const std::string& path) { return QFile::decodeName(path.c_str()); }

}  // namespace

std::string UserRecoveryFolder() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  if (data.isEmpty()) return {};
  return QFile::encodeName(QDir::cleanPath(data + QStringLiteral("/recovery"))).toStdString();
}

std::unique_ptr<QLockFile> RecoveryLockOf(const std::string& copy_path) {
  auto lock = std::make_unique<QLockFile>(Decoded(copy_path + ".lock"));
  // A window may run for days: only its end frees its copy.
  lock->setStaleLockTime(0);
  return lock;
}

RecoveryKeeper::RecoveryKeeper(std::string folder, const TSynEdit& editor,
                               const ProgramState& state, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), editor_(editor), state_(state) {
  timer_ = new QTimer(this);
  timer_->setObjectName(QStringLiteral("RecoveryTimer"));
  timer_->setSingleShot(true);
  timer_->setInterval(kQuietMs);
  connect(timer_, &QTimer::timeout, this, &RecoveryKeeper::WriteCopy);
}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::ListChanged() {
  if (finished_) return;
  if (state_.unsaved) {
    timer_->start();
  } else {
    Discard();
  }
}

std::optional<std::string> RecoveryKeeper::WriteNow() {
  if (finished_) return std::nullopt;
  if (!WriteCopy()) return FileCreateError(folder_).what();
  return writer_.Wait();
}

std::optional<std::string> RecoveryKeeper::KeepForGood() {
  std::optional<std::string> failure = WriteNow();
  finished_ = true;
  return failure;
}

void RecoveryKeeper::LetGo() {
  if (finished_) return;
  Discard();
  finished_ = true;
}

void RecoveryKeeper::Adopt(std::string path, std::unique_ptr<QLockFile> lock) {
  writer_.Wait();
  lock_ = std::move(lock);
  path_ = std::move(path);
  written_ = true;
}

bool RecoveryKeeper::WriteCopy() {
  timer_->stop();
  if (finished_ || !state_.unsaved) return true;
  RecoveryCopy copy{state_.current_file, state_.line_breaks, QDateTime::currentSecsSinceEpoch(),
                    RecoveryTextOf(editor_.LineSpan(), state_.line_breaks)};
  // An empty list holds nothing to recover.
  if (copy.text.empty()) {
    Discard();
    return true;
  }
  if (!Reserve()) return false;
  writer_.Write(path_, std::move(copy));
  written_ = true;
  return true;
}

void RecoveryKeeper::Discard() {
  timer_->stop();
  if (!written_) return;
  writer_.Remove(path_);
  written_ = false;
}

bool RecoveryKeeper::Reserve() {
  if (lock_) return true;
  if (folder_.empty() || !QDir().mkpath(Decoded(folder_))) return false;
  for (int i = 0; i < kNameTries; ++i) {
    const std::string path =
        folder_ + "/list-" +
        QString::number(QRandomGenerator::global()->generate64(), 36).toStdString() + ".recovery";
    std::unique_ptr<QLockFile> lock = RecoveryLockOf(path);
    // The lock first: a window that looks for copies at its start locks each one it reads.
    if (!lock->tryLock(0)) continue;
    if (QFile::exists(Decoded(path))) continue;
    lock_ = std::move(lock);
    path_ = path;
    return true;
  }
  return false;
}

}  // namespace quarrix
