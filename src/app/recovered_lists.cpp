#include "app/recovered_lists.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <algorithm>
#include <cstdio>

#include "app/recovery_keeper.h"
#include "editor/syn_edit.h"
#include "runtime/file_io.h"
#include "runtime/scratch_files.h"

namespace quarrix {
namespace {

constexpr int kMrYes = 6;
constexpr int kMrNo = 7;
constexpr std::uint64_t kLargestCopy = kLargestTriggerFile + 2 * kLongestProposedName;

// The copy at path, or nothing when it cannot be read or is broken.
std::optional<RecoveryCopy> ReadCopy(const std::string& path) {
  try {
    DecodedRecovery decoded = DecodeRecoveryCopy(ReadWholeFile(path, kLargestCopy));
    if (decoded.fault == RecoveryFault::kNone) return std::move(decoded.copy);
  } catch (...) {
    // Unreadable: set aside like a broken one.
  }
  return std::nullopt;
}

void Restore(CommandContext& context, const RecoveryCopy& copy) {
  context.editor.Lines().Assign(ParseTriggerFile(copy.text).lines);
  context.state.current_file = copy.proposed_file;
  context.state.line_breaks = copy.line_breaks;
  context.state.unsaved = true;
  context.save_button.setEnabled(true);
}

}  // namespace

std::vector<FoundCopy> TakeRecoveryCopies(const std::string& folder) {
  std::vector<FoundCopy> found;
  if (folder.empty() || !IsExistingDirectory(folder)) return found;
  // Scratch files of a write that a kill cut short.
  RemoveAbandonedScratchFiles(folder);
  const QStringList names =
      QDir(QFile::decodeName(folder.c_str()))
          .entryList({QStringLiteral("*.recovery")},
                     QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : names) {
    std::string path = folder + "/" + QFile::encodeName(name).toStdString();
    std::unique_ptr<QLockFile> lock = RecoveryLockOf(path);
    if (!lock->tryLock(0)) continue;  // a running window's own
    if (std::optional<RecoveryCopy> copy = ReadCopy(path)) {
      found.push_back({std::move(path), std::move(lock), std::move(*copy)});
    } else {
      std::rename(path.c_str(), (path + ".broken").c_str());
    }
  }
  std::ranges::sort(found, [](const FoundCopy& a, const FoundCopy& b) {
    return a.copy.saved_at != b.copy.saved_at ? a.copy.saved_at > b.copy.saved_at : a.path < b.path;
  });
  return found;
}

std::string RecoveryQuestion(std::int64_t saved_at) {
  const QString when =
      QDateTime::fromSecsSinceEpoch(saved_at).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
  return "Recover the unsaved trigger list from " + when.toStdString() + "?";
}

void OfferRecoveryCopies(CommandContext& context, RecoveryKeeper& keeper) {
  for (FoundCopy& found : TakeRecoveryCopies(keeper.folder())) {
    // A signal that ends the program while a question is open ends the questions too.
    if (keeper.Finished()) return;
    context.sounds.Play(Sounds::kQuestion);
    const int answer = context.prompts.MessageShow(RecoveryQuestion(found.copy.saved_at), "Recover",
                                                   "mbYes,mbNo", -1, -1);
    if (answer == kMrYes) {
      Restore(context, found.copy);
      keeper.Adopt(std::move(found.path), std::move(found.lock));
      return;
    }
    if (answer == kMrNo) std::remove(found.path.c_str());
  }
}

}  // namespace quarrix
