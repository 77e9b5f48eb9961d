#include "listedit/duplicates.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "listedit/byte_hash.h"

namespace quarrix {
namespace {

constexpr std::string_view kHeader = "[QuoomTriggers]";
constexpr std::string_view kDuplicatesHeader = "[Duplicates]";
constexpr std::int32_t kNone = -1;

// A hint to the processor; the hash table's misses dominate the check on large lists.
inline void PrefetchRead(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

std::uint32_t Load4(const char* data) {
  std::uint32_t word;
  std::memcpy(&word, data, 4);
  return word;
}

// The keys of the kept lines so far. A kept key ends with its only comma, so inside a later
// line it can only end at one of that line's commas and start after the comma before. Cheap
// filters (the first byte, the length and the first four bytes of the keys) spare most
// candidate starts the hash table.
class KeptKeys {
 public:
  explicit KeptKeys(std::span<const std::string> items) : items_(items) {}
  KeptKeys(const KeptKeys&) = delete;
  KeptKeys& operator=(const KeptKeys&) = delete;

  void Add(std::int32_t item, std::size_t key_length) {
    const char* key = items_[static_cast<std::size_t>(item)].data();
    if (key_length >= has_length_.size()) has_length_.resize(key_length + 1, 0);
    has_length_[key_length] = 1;
    const auto first_byte = static_cast<std::uint8_t>(key[0]);
    if (starts_key_[first_byte] == 0) {
      starts_key_[first_byte] = 1;
      only_start_ = start_bytes_++ == 0 ? static_cast<int>(first_byte) : -1;
    }
    if (key_length >= 4) {
      const std::uint32_t filter = FilterBit(Load4(key));
      start_filter_[filter / 64] |= std::uint64_t{1} << (filter % 64);
    }
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    Insert({key, static_cast<std::uint32_t>(HashBytes(key, key_length) >> 32),
            static_cast<std::uint32_t>(key_length), item});
    ++count_;
  }

  // Hints for a line that comes soon: the slot its own key would be found in (returned as the
  // key's hash), and for a hash from an earlier hint, the kept key that slot names. Lines
  // that repeat an earlier key then find both in the cache.
  std::uint64_t PrefetchSlot(std::string_view line) const {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos || slots_.empty()) return 0;
    const std::uint64_t hash = HashBytes(line.data(), comma + 1);
    PrefetchRead(&slots_[(hash >> 32) & (slots_.size() - 1)]);
    return hash;
  }
  void PrefetchKept(std::uint64_t hash) const {
    if (slots_.empty()) return;
    const Slot& slot = slots_[(hash >> 32) & (slots_.size() - 1)];
    if (slot.key != nullptr) PrefetchRead(slot.key);
  }

  // The smallest kept item whose key occurs in `line`, or kNone.
  std::int32_t FirstOwner(std::string_view line) const {
    if (count_ == 0) return kNone;
    std::int32_t owner = kNone;
    const char* data = line.data();
    const std::size_t longest_key = has_length_.size() - 1;
    std::size_t run_start = 0;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos;
         run_start = comma + 1, comma = line.find(',', comma + 1)) {
      const std::size_t end = comma + 1;
      const std::size_t first_start = end - std::min(end - run_start, longest_key);
      for (std::size_t start = NextStart(data, first_start, end); start < end;
           start = NextStart(data, start + 1, end)) {
        const std::size_t length = end - start;
        if (has_length_[length] == 0) continue;
        if (length >= 4) {
          const std::uint32_t filter = FilterBit(Load4(data + start));
          if ((start_filter_[filter / 64] >> (filter % 64) & 1u) == 0) continue;
        }
        const std::int32_t item = Find(data + start, length);
        if (item != kNone && (owner == kNone || item < owner)) owner = item;
      }
    }
    return owner;
  }

 private:
  struct Slot {
    const char* key = nullptr;
    std::uint32_t hash = 0;
    std::uint32_t length = 0;
    std::int32_t item = kNone;
  };

  // The first position in [from, end) whose byte starts a kept key, or end. Entries all start
  // with the same byte, which memchr finds fastest.
  std::size_t NextStart(const char* data, std::size_t from, std::size_t end) const {
    if (from >= end) return end;
    if (only_start_ >= 0) {
      const void* found = std::memchr(data + from, only_start_, end - from);
      return found == nullptr ? end
                              : static_cast<std::size_t>(static_cast<const char*>(found) - data);
    }
    while (from < end && starts_key_[static_cast<std::uint8_t>(data[from])] == 0) ++from;
    return from;
  }

  static std::uint32_t FilterBit(std::uint32_t word) { return (word * 0x9E3779B1u) >> 20; }

  std::int32_t Find(const char* key, std::size_t length) const {
    const auto hash = static_cast<std::uint32_t>(HashBytes(key, length) >> 32);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.item == kNone) return kNone;
      if (slot.hash == hash && slot.length == length && std::memcmp(slot.key, key, length) == 0) {
        return slot.item;
      }
    }
  }

  void Insert(const Slot& entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = entry.hash & mask;
    while (slots_[i].item != kNone) i = (i + 1) & mask;
    slots_[i] = entry;
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(16, old.size() * 2), Slot{});
    for (const Slot& slot : old) {
      if (slot.item != kNone) Insert(slot);
    }
  }

  std::span<const std::string> items_;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
  std::vector<std::uint8_t> has_length_ = std::vector<std::uint8_t>(1, 0);
  std::array<std::uint8_t, 256> starts_key_{};
  int start_bytes_ = 0;
  int only_start_ = -1;  // the one byte all kept keys start with, while there is one
  std::vector<std::uint64_t> start_filter_ = std::vector<std::uint64_t>(4096 / 64, 0);
};

}  // namespace

DuplicateCheckResult CheckDuplicates(std::vector<std::string> lines) {
  const std::size_t first = !lines.empty() && lines[0] == kHeader ? 1 : 0;
  const std::span<const std::string> items(lines.data() + first, lines.size() - first);
  const std::size_t n = items.size();

  // A line is taken by the first kept line, in list order, whose key it contains; kept lines
  // only ever take later lines, so one pass in list order decides every line.
  std::vector<std::int32_t> owner(n, kNone);
  std::vector<std::uint32_t> kept;
  KeptKeys keys(items);
  std::size_t duplicate_count = 0;
  constexpr std::size_t kAhead = 8;
  std::array<std::uint64_t, kAhead> ahead{};
  for (std::size_t m = 0; m < n; ++m) {
    if (m + kAhead < n) ahead[m % kAhead] = keys.PrefetchSlot(items[m + kAhead]);
    keys.PrefetchKept(ahead[(m + kAhead / 2) % kAhead]);
    const std::string& line = items[m];
    if (line.empty()) continue;
    const std::int32_t taker = keys.FirstOwner(line);
    if (taker != kNone) {
      owner[m] = taker;
      ++duplicate_count;
      continue;
    }
    kept.push_back(static_cast<std::uint32_t>(m));
    const std::size_t comma = line.find(',');
    if (comma != std::string::npos) keys.Add(static_cast<std::int32_t>(m), comma + 1);
  }

  // Duplicates are listed grouped by their kept line in kept order, each group in list
  // order: a counting sort by owner, which keeps list order inside a group.
  std::vector<std::uint32_t> listed(duplicate_count);
  if (duplicate_count > 0) {
    std::vector<std::uint32_t> group_start(n + 1, 0);
    for (std::size_t m = 0; m < n; ++m) {
      if (owner[m] != kNone) ++group_start[static_cast<std::size_t>(owner[m]) + 1];
    }
    for (std::size_t i = 1; i <= n; ++i) group_start[i] += group_start[i - 1];
    for (std::size_t m = 0; m < n; ++m) {
      if (owner[m] != kNone) {
        listed[group_start[static_cast<std::size_t>(owner[m])]++] = static_cast<std::uint32_t>(m);
      }
    }
  }

  DuplicateCheckResult result;
  result.lines.reserve(1 + kept.size() + (duplicate_count > 0 ? 1 + duplicate_count : 0));
  result.lines.emplace_back(kHeader);
  for (const std::uint32_t m : kept) result.lines.push_back(std::move(lines[first + m]));
  const int kept_lines = static_cast<int>(result.lines.size());
  if (duplicate_count > 0) {
    result.lines.emplace_back(kDuplicatesHeader);
    for (const std::uint32_t m : listed) result.lines.push_back(std::move(lines[first + m]));
  }
  result.duplicate_count = static_cast<int>(duplicate_count);
  result.caret_line = kept_lines + (duplicate_count > 0 ? 1 : 0) + 1;
  return result;
}

}  // namespace quarrix
