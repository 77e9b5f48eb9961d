#include "listedit/recovery_writer.h"

#include <cerrno>
#include <cstdio>

#include "runtime/errors.h"
#include "runtime/file_write.h"

namespace quarrix {
namespace {

void CarryOut(const std::string& path, const std::optional<RecoveryCopy>& copy) {
  if (!copy) {
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
      throw QuarrixError("Cannot delete file " + path);
    }
    return;
  }
  const std::string header = RecoveryHeader(*copy);
  WriteFileAtomic(path, [&](const ByteSink& write) {
    write(header);
    write(copy->text);
  });
}

}  // namespace

RecoveryWriter::~RecoveryWriter() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void RecoveryWriter::Write(std::string path, RecoveryCopy copy) {
  Ask({std::move(path), std::move(copy)});
}

void RecoveryWriter::Remove(std::string path) { Ask({std::move(path), std::nullopt}); }

std::optional<std::string> RecoveryWriter::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !next_ && !busy_; });
  return failure_;
}

void RecoveryWriter::Ask(Request request) {
  {
    const std::lock_guard lock(mutex_);
    next_ = std::move(request);
    if (!thread_.joinable()) thread_ = std::thread([this] { Work(); });
  }
  changed_.notify_all();
}

void RecoveryWriter::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return next_ || stopping_; });
    if (!next_) return;
    Request request = std::move(*next_);
    next_.reset();
    busy_ = true;
    lock.unlock();
    std::optional<std::string> failure;
    try {
      CarryOut(request.path, request.copy);
    } catch (...) {
      failure = CurrentErrorText();
    }
    request = {};  // a large text is let go outside the lock
    lock.lock();
    busy_ = false;
    failure_ = std::move(failure);
    changed_.notify_all();
  }
}

}  // namespace quarrix
