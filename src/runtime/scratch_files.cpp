#include "runtime/scratch_files.h"

#include <atomic>
#include <chrono>

#include "runtime/scratch_files_system.h"

namespace quarrix {
namespace {

constexpr std::size_t kRandomLetters = 6;

}  // namespace

std::string ScratchName(std::string_view end) {
  // Atomic: the recovery copy is written on a thread of its own beside the window's saves.
  static std::atomic<std::uint64_t> counter = 0;
  std::uint64_t mix =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) +
      ++counter * 0x9E3779B97F4A7C15ull;
  mix = (mix ^ (mix >> 30)) * 0xBF58476D1CE4E5B9ull;
  mix = (mix ^ (mix >> 27)) * 0x94D049BB133111EBull;
  mix ^= mix >> 31;
  std::string name(kScratchPrefix);
  name += std::to_string(ProcessId());
  name += '-';
  for (std::size_t i = 0; i < kRandomLetters; ++i, mix /= 36) {
    name += "0123456789abcdefghijklmnopqrstuvwxyz"[mix % 36];
  }
  name += end;
  return name;
}

ScratchFile::ScratchFile(std::string path, std::intptr_t handle)
    : path_(std::move(path)), handle_(handle) {}

ScratchFile::ScratchFile(ScratchFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(other.handle_) {
  other.path_.clear();
  other.handle_ = kNoHandle;
}

ScratchFile& ScratchFile::operator=(ScratchFile&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    handle_ = other.handle_;
    other.path_.clear();
    other.handle_ = kNoHandle;
  }
  return *this;
}

ScratchFile::~ScratchFile() { Release(); }

bool ParseScratchName(std::string_view name, std::uint64_t& pid) {
  if (!name.starts_with(kScratchPrefix)) return false;
  name.remove_prefix(kScratchPrefix.size());
  const std::size_t digits = name.find('-');
  if (digits == 0 || digits > 10 || digits == std::string_view::npos) return false;
  std::uint64_t value = 0;
  for (const char c : name.substr(0, digits)) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  name.remove_prefix(digits + 1);
  if (name.size() != kRandomLetters + kTempEnd.size()) return false;
  for (const char c : name.substr(0, kRandomLetters)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
  }
  const std::string_view end = name.substr(kRandomLetters);
  if (end != kTempEnd && end != kAsideEnd) return false;
  pid = value;
  return true;
}

}  // namespace quarrix
