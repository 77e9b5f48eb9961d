#pragma once
// Work spread over threads whose results must come out in order, such as the chunks of a
// compressed package: the calling thread reads each item and writes each result in order,
// worker threads do the work in between, over a window of a few items per thread, so memory
// stays bounded whatever the number of items.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quarrix {

// `asked` threads, or one per processor for 0; at most `most` (and at least one).
inline unsigned WorkerThreads(unsigned asked, std::uint64_t most) {
  const unsigned threads = asked != 0 ? asked : std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::clamp<std::uint64_t>(most, 1, threads));
}

// Runs items through three steps: read(slot), on the calling thread, fills the next item's
// slot and returns false when there are no more items; work(state, slot) runs on one of the
// worker threads, each with a State of its own, and must touch nothing but its slot and its
// state; write(slot), on the calling thread, takes the results in item order. With one thread
// all three run on the calling thread. An exception from read or write ends the run at once;
// one from work (or from making a State) is thrown when its item's turn to be written comes,
// so the first failing item in order is the one reported.
template <typename Slot, typename State, typename Read, typename Work, typename Write>
void RunInOrder(unsigned threads, std::size_t window_per_thread, Read&& read, Work&& work,
                Write&& write) {
  if (threads <= 1) {
    State state;
    Slot slot;
    while (read(slot)) {
      work(state, slot);
      write(slot);
    }
    return;
  }

  struct Entry {
    Slot slot;
    bool done = false;
    std::exception_ptr failure;
  };
  std::vector<Entry> entries(window_per_thread * threads);
  const auto entry_of = [&entries](std::uint64_t item) -> Entry& {
    return entries[static_cast<std::size_t>(item % entries.size())];
  };
  std::mutex mutex;
  std::condition_variable work_ready;
  std::condition_variable item_done;
  std::uint64_t read_items = 0;   // written by the calling thread only, under the lock
  std::uint64_t taken_items = 0;  // items a worker has begun
  bool stop = false;

  const auto work_loop = [&] {
    std::optional<State> state;
    std::exception_ptr state_failure;
    try {
      state.emplace();
    } catch (...) {
      state_failure = std::current_exception();
    }
    for (;;) {
      std::uint64_t item = 0;
      {
        std::unique_lock lock(mutex);
        work_ready.wait(lock, [&] { return stop || taken_items < read_items; });
        if (stop) return;
        item = taken_items++;
      }
      Entry& entry = entry_of(item);
      std::exception_ptr failure = state_failure;
      if (!failure) {
        try {
          work(*state, entry.slot);
        } catch (...) {
          failure = std::current_exception();
        }
      }
      {
        const std::lock_guard lock(mutex);
        entry.failure = failure;
        entry.done = true;
      }
      item_done.notify_all();
    }
  };

  std::vector<std::thread> workers;
  struct Joiner {
    std::vector<std::thread>& workers;
    std::mutex& mutex;
    bool& stop;
    std::condition_variable& work_ready;
    ~Joiner() {
      {
        const std::lock_guard lock(mutex);
        stop = true;
      }
      work_ready.notify_all();
      for (std::thread& worker : workers) worker.join();
    }
  } joiner{workers, mutex, stop, work_ready};
  for (unsigned i = 0; i < threads; ++i) workers.emplace_back(work_loop);

  bool more = true;
  for (std::uint64_t next_write = 0;; ++next_write) {
    // An entry is read into only once its last item is written, so no worker holds it.
    while (more && read_items < next_write + entries.size()) {
      Entry& entry = entry_of(read_items);
      entry.done = false;
      entry.failure = nullptr;
      more = read(entry.slot);
      if (!more) break;
      {
        const std::lock_guard lock(mutex);
        ++read_items;
      }
      work_ready.notify_one();
    }
    if (next_write == read_items) return;
    Entry& entry = entry_of(next_write);
    {
      std::unique_lock lock(mutex);
      item_done.wait(lock, [&entry] { return entry.done; });
    }
    if (entry.failure) std::rethrow_exception(entry.failure);
    write(entry.slot);
  }
}

}  // namespace quarrix
