#include "extract/waveform_loader.h"

#include <QMetaObject>
#include <exception>

#include "extract/sound_peaks.h"

namespace quarrix {

WaveformLoader::WaveformLoader(const SoundRows& rows, QObject* receiver, Done done)
    : rows_(rows),
      receiver_(receiver),
      done_(std::move(done)),
      taken_(rows.rows.size(), 0),
      thread_([this] { Work(); }) {}

WaveformLoader::~WaveformLoader() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void WaveformLoader::SetWidth(int width) {
  {
    const std::lock_guard lock(mutex_);
    if (width == width_) return;
    width_ = width;
    std::fill(taken_.begin(), taken_.end(), 0);
    asked_.clear();
    next_in_order_ = 0;
  }
  wake_.notify_all();
}

void WaveformLoader::Ask(std::size_t row) {
  {
    const std::lock_guard lock(mutex_);
    if (row >= taken_.size() || taken_[row]) return;
    asked_.push_front(row);
  }
  wake_.notify_all();
}

bool WaveformLoader::TakeNext(std::size_t& row) {
  if (width_ <= 0) return false;
  const auto take = [&](std::size_t candidate) {
    if (taken_[candidate]) return false;
    taken_[candidate] = 1;
    row = candidate;
    return true;
  };
  while (!asked_.empty()) {
    const std::size_t candidate = asked_.front();
    asked_.pop_front();
    if (take(candidate)) return true;
  }
  while (next_in_order_ < taken_.size()) {
    if (take(next_in_order_++)) return true;
  }
  return false;
}

void WaveformLoader::Work() {
  for (;;) {
    std::size_t row = 0;
    int width = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stop_ || TakeNext(row); });
      if (stop_) return;
      width = width_;
    }
    std::optional<std::vector<float>> peaks;
    try {
      const SoundRow& sound = rows_.rows[row];
      if (sound.listing) {
        peaks = SoundPeaks(ReadRowAudio(rows_, sound), sound.listing->audio.kind, width);
      }
    } catch (const std::exception&) {
      // A sound that cannot be read, or too large to hold, shows no picture.
    }
    QMetaObject::invokeMethod(
        receiver_,
        [done = done_, row, width, peaks = std::move(peaks)]() mutable {
          done(row, width, std::move(peaks));
        },
        Qt::QueuedConnection);
  }
}

}  // namespace quarrix
