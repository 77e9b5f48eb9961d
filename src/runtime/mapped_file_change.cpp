#include "runtime/mapped_file_change.h"

#include <unistd.h>

#include <array>
#include <csignal>

#include "runtime/file_io.h"
#include "runtime/scratch_files.h"

namespace quarrix {
namespace {

// A watched mapping: its memory and the message that names it, as plain data for the handler.
// The message lives in `text`; the handler reads only the fields before `set`.
struct MappedRange {
  const char* begin = nullptr;
  const char* end = nullptr;
  const char* message = nullptr;
  std::size_t message_size = 0;
  volatile std::sig_atomic_t set = 0;
  std::string text;
};
std::array<MappedRange, 4> mapped_ranges;

struct MappedFileChangeExit {
  bool installed = false;
  std::string prefix;
  int exit_code = 1;
};
MappedFileChangeExit change_exit;

void OnBusError(int, siginfo_t* info, void*) {
  const auto* address = static_cast<const char*>(info->si_addr);
  for (const MappedRange& range : mapped_ranges) {
    if (range.set == 0 || address < range.begin || address >= range.end) continue;
    [[maybe_unused]] const ssize_t written = ::write(2, range.message, range.message_size);
    RemoveTempFilesOnFatalSignal();
    ::_exit(change_exit.exit_code);
  }
  // Not a mapped file of ours: the fault takes its default course when the access repeats.
  ::signal(SIGBUS, SIG_DFL);
}

}  // namespace

void ExitOnMappedFileChange(std::string_view prefix, int exit_code) {
  change_exit.prefix = prefix;
  change_exit.exit_code = exit_code;
  if (change_exit.installed) return;
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  change_exit.installed = ::sigaction(SIGBUS, &action, nullptr) == 0;
}

bool MappingCanBeWatched() {
  if (!change_exit.installed) return false;
  for (const MappedRange& range : mapped_ranges) {
    if (range.set == 0) return true;
  }
  return false;
}

int WatchMapping(std::string_view bytes, const std::string& path) {
  for (std::size_t slot = 0; slot < mapped_ranges.size(); ++slot) {
    MappedRange& range = mapped_ranges[slot];
    if (range.set != 0) continue;
    range.text =
        change_exit.prefix + "Cannot read file " + path + ": it changed while it was read\n";
    range.begin = bytes.data();
    range.end = bytes.data() + bytes.size();
    range.message = range.text.data();
    range.message_size = range.text.size();
    range.set = 1;
    return static_cast<int>(slot);
  }
  return -1;
}

void ForgetMapping(int slot) {
  if (slot >= 0) mapped_ranges[static_cast<std::size_t>(slot)].set = 0;
}

}  // namespace quarrix
