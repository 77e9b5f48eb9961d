#pragma once
// Computes the waveform peaks of browsed sounds on a thread of its own, so the browser never
// waits for audio: the rows asked for (those in view) first, the most recent first, then every
// other row in order. Each result is handed to `done` on the thread of `receiver`.
#include <QObject>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "extract/sound_rows.h"

namespace quarrix {

class WaveformLoader {
 public:
  // The peaks of a row at a width; nothing when the sound gives no picture.
  using Done =
      std::function<void(std::size_t row, int width, std::optional<std::vector<float>> peaks)>;

  // Works on rows; both they and the receiver must outlive the loader. Starts once a width is
  // set.
  WaveformLoader(const SoundRows& rows, QObject* receiver, Done done);
  // Stops after the row being computed.
  ~WaveformLoader();
  WaveformLoader(const WaveformLoader&) = delete;
  WaveformLoader& operator=(const WaveformLoader&) = delete;

  // Starts over at a new width; results of the old width may still come and must be dropped.
  void SetWidth(int width);
  // Puts the row first in line, unless it is done or being computed.
  void Ask(std::size_t row);

 private:
  void Work();
  // The next row to compute, under the lock; false when there is none.
  bool TakeNext(std::size_t& row);

  const SoundRows& rows_;
  QObject* receiver_;
  Done done_;

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  int width_ = 0;
  std::vector<char> taken_;  // per row: computed or being computed at this width
  std::deque<std::size_t> asked_;
  std::size_t next_in_order_ = 0;
  std::thread thread_;
};

}  // namespace quarrix
