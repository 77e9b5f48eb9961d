#pragma once
// Writes and removes one recovery copy on a thread of its own, so that a large list never
// stalls the window. Requests are carried out in order, except that one not yet begun gives
// way to a later one: only the newest copy matters. A failure is kept, not thrown: the next
// request tries again.
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "listedit/recovery_copy.h"

namespace quarrix {

class RecoveryWriter {
 public:
  RecoveryWriter() = default;
  // Carries out the request still open, then ends the thread.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  // Replaces the file at path with the copy, atomically.
  void Write(std::string path, RecoveryCopy copy);
  // Deletes the file at path; a missing one is no failure.
  void Remove(std::string path);
  // Waits until every request is carried out; returns the text of the last one's failure,
  // or nothing when it succeeded.
  std::optional<std::string> Wait();

 private:
  struct Request {
    std::string path;
    std::optional<RecoveryCopy> copy;  // none: remove the file
  };
  void Ask(Request request);
  void Work();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<Request> next_;
  bool busy_ = false;
  bool stopping_ = false;
  std::optional<std::string> failure_;
  std::thread thread_;  // started with the first request
};

}  // namespace quarrix
