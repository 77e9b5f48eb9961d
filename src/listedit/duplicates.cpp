// The duplicate check.
//
// Invariant: a line is a duplicate when it contains the key (the text up to and including
// the first comma) of an earlier kept line; the first such kept line in list order owns it.
// Kept lines only ever take later lines, so one pass in list order decides every line, and
// the result is that of comparing each line with every kept key before it (the literal
// version in tests/support/listedit_oracles.cpp).
//
// Layers, each kept for its measured gain. Figures: release build,
//   quarrix_bench --benchmark_filter='BM_FindDuplicatesInOneBuffer|BM_CheckDuplicates/1000000'
// with the layer switched off in a second binary, the two run alternately five times in one
// sitting and the fastest of each taken (2 cores under a load of about 9, so +-10% noise).
// 1. Kept keys in an open-addressed hash table of polynomial hashes (byte_hash.h), with
//    cheap filters (first byte, length, first four bytes) before a candidate is hashed and
//    one backward pass hashing all candidates that end at one comma: time in proportion to
//    a line's length whatever the kept keys are. The base; BM_CheckDuplicatesAdversarial.
// 2. The slot of a line's own key prefetched eight lines ahead (PrefetchSlot, its hash then
//    reused as the hint): the table's misses dominate large lists. 276 -> 143 ms on
//    BM_FindDuplicatesInOneBuffer, 565 -> 409 ms on BM_CheckDuplicates/1000000.
// 3. Hits taken on the hash alone and their bytes compared sixteen hits later (kConfirmLag),
//    so no decision waits for the kept key's memory; should two keys ever share a hash
//    (about 2^-50 a pair, the base drawn per run), the pass is run again comparing at once.
//    476 -> 402 ms on BM_CheckDuplicates/1000000 (lines held one string each, scattered in
//    memory); no change on BM_FindDuplicatesInOneBuffer (147 ms either way). Needs
//    SetKeyHashBaseForTesting, which makes two keys collide in the tests.
// 4. Each line's text prefetched 32 lines ahead (PrefetchText): after Sort Alphabetically
//    the editor's views point anywhere in its blocks. The window's check after a sort, CPU
//    of quarrix_session_bench's check step (a quiet machine, alternating): 0.75 and 0.72 ->
//    0.57 and 0.52 s. No change where the lines lie in list order: 72-76 against 70-78 ms
//    on BM_FindDuplicatesInOneBuffer, 355-371 against 348-359 ms on BM_CheckDuplicates.
// Measured and dropped: prefetching the kept key a hit names in the second pass (no gain).
// quarrix-cli dedupe of the 1,000,000-line list (BM_CliDedupe) takes 0.24 to 0.26 s with
// layers 1 to 3 (under a load of about 5), under its 0.4 s target.

#include "listedit/duplicates.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <span>
#include <string_view>

#include "editor/line_list.h"
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

// The first few cache lines of a line: an entry's text fits in them.
inline void PrefetchText(std::string_view line) {
  constexpr std::size_t kCacheLine = 64;
  constexpr std::size_t kLinesFetched = 3;
  const std::size_t fetched = std::min(line.size(), kCacheLine * kLinesFetched);
  for (std::size_t at = 0; at < fetched; at += kCacheLine) PrefetchRead(line.data() + at);
}

std::uint32_t Load4(const char* data) {
  std::uint32_t word;
  std::memcpy(&word, data, 4);
  return word;
}

std::optional<std::uint64_t>& HashBaseForTesting() {
  static std::optional<std::uint64_t> base;
  return base;
}

// The base of the key hashes: drawn once a run, so that no fixed text can be made to collide.
std::uint64_t HashBase() {
  static const std::uint64_t drawn = [] {
    std::random_device device;
    return (std::uint64_t{device()} << 32) ^ device() ^
           static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }();
  return HashBaseForTesting().value_or(drawn);
}

// The keys of the kept lines so far. A kept key ends with its only comma, so inside a later
// line it can only end at one of that line's commas and start after the comma before. Cheap
// filters (the first byte, the length and the first four bytes of the keys) spare most
// candidate starts the hash table; the hashes of the candidates ending at one comma come
// from one backward pass over the bytes before it, and only the best match is compared in
// full, so a line costs time in proportion to its length whatever the kept keys are.
class KeptKeys {
 public:
  explicit KeptKeys(std::span<const std::string_view> items) : items_(items), hash_(HashBase()) {}
  KeptKeys(const KeptKeys&) = delete;
  KeptKeys& operator=(const KeptKeys&) = delete;

  void Add(std::int32_t item, std::size_t key_length) {
    const char* key = items_[static_cast<std::size_t>(item)].data();
    // The kept keys are copied side by side, so the comparisons that confirm a match read
    // a small block of memory rather than lines scattered over the whole list.
    const auto offset = static_cast<std::uint32_t>(arena_.size());
    arena_.append(key, key_length);
    if (key_length >= has_length_.size()) {
      has_length_.resize(key_length + 1, 0);
      hash_.Reserve(key_length);
    }
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
    Insert({hash_.Of(key, key_length), offset, static_cast<std::uint32_t>(key_length), item});
    ++count_;
  }

  // A hint for a line that comes soon: the slot its own key would be found in (returned as
  // the key's hash). Lines that repeat an earlier key then find the slot in the cache.
  std::uint64_t PrefetchSlot(std::string_view line) const {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos || slots_.empty()) return 0;
    if (comma + 1 >= has_length_.size()) return 0;  // longer than every kept key
    const std::uint64_t hash = hash_.Of(line.data(), comma + 1);
    PrefetchRead(&slots_[SlotOf(hash)]);
    return hash;
  }

  // The smallest kept item whose key occurs in `line`, or kNone. `hint` is PrefetchSlot's
  // hash for this line (0 when it gave none): the hash of the line's own first key. When
  // `confirm` is false the hashes alone decide, and the hit taken is left in taken() for
  // ConfirmTaken: a hash hit is a match but for a chance of about 2^-50, and comparing the
  // bytes at once would make every line wait for the kept key's memory.
  std::int32_t FirstOwner(std::string_view line, std::uint64_t hint, bool confirm) {
    if (count_ == 0) return kNone;
    hits_.clear();
    CollectCandidates(line, hint);
    if (hits_.empty()) return kNone;
    if (hits_.size() > 1) {
      std::sort(hits_.begin(), hits_.end(),
                [](const Hit& a, const Hit& b) { return a.item < b.item; });
    }
    if (!confirm) {
      taken_ = hits_.front();
      return taken_.item;
    }
    return BestConfirmedHit(line.data());
  }

  // A kept key found in a line: its item, its place in arena_, and where it stands in the line.
  struct Hit {
    std::int32_t item;
    std::uint32_t offset;
    std::uint32_t start;
    std::uint32_t length;
  };
  // The hit an unconfirmed FirstOwner took, and whether its bytes are the kept key's.
  const Hit& taken() const { return taken_; }
  bool ConfirmTaken(std::string_view line, const Hit& hit) const {
    return SameBytes(arena_.data() + hit.offset, line.data() + hit.start, hit.length);
  }
  void PrefetchTaken(const Hit& hit) const { PrefetchRead(arena_.data() + hit.offset); }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t offset = 0;  // of the key in arena_
    std::uint32_t length = 0;
    std::int32_t item = kNone;
  };

  // Every candidate occurrence of a kept key in `line` goes through CollectHits. A kept key
  // ends with its only comma, so a candidate start belongs to the first comma at or after
  // it; the candidates before one comma are hashed together by RollHashes.
  void CollectCandidates(std::string_view line, std::uint64_t hint) {
    const char* data = line.data();
    const std::size_t size = line.size();
    const std::size_t longest_key = has_length_.size() - 1;
    if (only_start_ >= 0) {
      // Every kept key starts with the same byte: find its few places in the line with
      // memchr, and the comma each belongs to, rather than walking comma by comma.
      std::size_t comma = 0;
      bool have_comma = false;
      starts_.clear();
      for (std::size_t start = NextStart(data, 0, size); start < size;
           start = NextStart(data, start + 1, size)) {
        if (!have_comma || start > comma) {
          if (have_comma) RollHashes(data, comma + 1, hint);
          starts_.clear();
          const void* found = std::memchr(data + start, ',', size - start);
          if (found == nullptr) return;
          comma = static_cast<std::size_t>(static_cast<const char*>(found) - data);
          have_comma = true;
        }
        if (IsCandidate(data, start, comma + 1 - start, longest_key)) {
          starts_.push_back(static_cast<std::uint32_t>(start));
        }
      }
      if (have_comma) RollHashes(data, comma + 1, hint);
      return;
    }
    std::size_t run_start = 0;
    for (std::size_t comma = line.find(','); comma != std::string_view::npos;
         run_start = comma + 1, comma = line.find(',', comma + 1)) {
      const std::size_t end = comma + 1;
      const std::size_t first_start = end - std::min(end - run_start, longest_key);
      starts_.clear();
      for (std::size_t start = NextStart(data, first_start, end); start < end;
           start = NextStart(data, start + 1, end)) {
        if (IsCandidate(data, start, end - start, longest_key)) {
          starts_.push_back(static_cast<std::uint32_t>(start));
        }
      }
      RollHashes(data, end, hint);
    }
  }

  // Cheap filters: a kept key of this length, and of these first four bytes.
  bool IsCandidate(const char* data, std::size_t start, std::size_t length,
                   std::size_t longest_key) const {
    if (length > longest_key || has_length_[length] == 0) return false;
    if (length < 4) return true;
    const std::uint32_t filter = FilterBit(Load4(data + start));
    return (start_filter_[filter / 64] >> (filter % 64) & 1u) != 0;
  }

  // Hashes of the candidates in starts_ (all ending at `end`), from the shortest to the
  // longest, in one backward pass over the bytes. A lone candidate at the line's start is
  // the line's own first key, whose hash the hint already holds.
  void RollHashes(const char* data, std::size_t end, std::uint64_t hint) {
    if (starts_.empty()) return;
    if (hint != 0 && starts_.size() == 1 && starts_[0] == 0) {
      CollectHits(hint, 0, end);
      return;
    }
    PolynomialHash::Sum sum = 0;
    std::size_t rolled = end;
    for (auto start = starts_.rbegin(); start != starts_.rend(); ++start) {
      for (; rolled > *start; --rolled) sum += hash_.Term(data[rolled - 1], end - rolled);
      CollectHits(PolynomialHash::Reduce(sum), *start, end - *start);
    }
  }

  // The smallest item among the hits (sorted by item) whose bytes match, or kNone. Equal
  // hashes nearly always mean equal keys, so the bytes are compared best owner first.
  std::int32_t BestConfirmedHit(const char* data) {
    for (const Hit& hit : hits_) {
      if (SameBytes(arena_.data() + hit.offset, data + hit.start, hit.length)) return hit.item;
    }
    return kNone;
  }

  // Eight bytes at a time; a key of eight or more ends with one eight-byte look that may
  // overlap the last, so no call to memcmp is made for the few bytes left.
  static bool SameBytes(const char* a, const char* b, std::size_t length) {
    const auto same8 = [a, b](std::size_t at) {
      std::uint64_t x;
      std::uint64_t y;
      std::memcpy(&x, a + at, 8);
      std::memcpy(&y, b + at, 8);
      return x == y;
    };
    if (length < 8) return std::memcmp(a, b, length) == 0;
    for (std::size_t at = 0; at + 8 < length; at += 8) {
      if (!same8(at)) return false;
    }
    return same8(length - 8);
  }

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

  std::size_t SlotOf(std::uint64_t hash) const {
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> 24) & (slots_.size() - 1);
  }

  // The kept keys of this hash and length, as hits at `start`. Kept keys differ, so while no
  // two of them share a hash and length, the first found is the only one that can match and
  // the walk stops there.
  void CollectHits(std::uint64_t hash, std::size_t start, std::size_t length) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = SlotOf(hash); slots_[i].item != kNone; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.hash == hash && slot.length == length) {
        hits_.push_back({slot.item, slot.offset, static_cast<std::uint32_t>(start),
                         static_cast<std::uint32_t>(length)});
        if (!keys_share_a_hash_) return;
      }
    }
  }

  void Insert(const Slot& entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = SlotOf(entry.hash);
    for (; slots_[i].item != kNone; i = (i + 1) & mask) {
      if (slots_[i].hash == entry.hash && slots_[i].length == entry.length) {
        keys_share_a_hash_ = true;
      }
    }
    slots_[i] = entry;
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(16, old.size() * 2), Slot{});
    for (const Slot& slot : old) {
      if (slot.item != kNone) Insert(slot);
    }
  }

  std::span<const std::string_view> items_;
  PolynomialHash hash_;
  std::vector<Slot> slots_;
  std::string arena_;
  std::size_t count_ = 0;
  std::vector<std::uint8_t> has_length_ = std::vector<std::uint8_t>(1, 0);
  std::array<std::uint8_t, 256> starts_key_{};
  int start_bytes_ = 0;
  int only_start_ = -1;  // the one byte all kept keys start with, while there is one
  std::vector<std::uint64_t> start_filter_ = std::vector<std::uint64_t>(4096 / 64, 0);
  std::vector<std::uint32_t> starts_;  // scratch: the candidate starts before one comma
  std::vector<Hit> hits_;              // scratch: the kept keys one line may contain
  bool keys_share_a_hash_ = false;     // two kept keys of one hash and length (about 2^-50)
  Hit taken_{};                        // the hit the last unconfirmed FirstOwner took
};

// One pass in list order over the lines below the header. With `confirm` false, hashes
// decide and the bytes of every hit taken are compared some lines later, so that no
// decision waits for them; false when one differs (the caller then runs the pass again
// with `confirm`).
bool DecideInListOrder(std::span<const std::string_view> items, std::size_t first, bool confirm,
                       DuplicateOrder& order) {
  const std::size_t n = items.size();
  // A line is taken by the first kept line, in list order, whose key it contains; kept lines
  // only ever take later lines, so one pass in list order decides every line.
  std::vector<std::int32_t> owner(n, kNone);
  // The last few hits taken without comparing their bytes: compared a few hits later, when
  // the kept key has come into the cache and the line is still there.
  struct Unconfirmed {
    std::size_t line;
    KeptKeys::Hit hit;
  };
  constexpr std::size_t kConfirmLag = 16;
  std::array<Unconfirmed, kConfirmLag> unconfirmed{};
  std::size_t confirmed = 0;
  std::size_t taken = 0;
  KeptKeys keys(items);
  const auto confirm_oldest = [&] {
    const Unconfirmed& oldest = unconfirmed[confirmed++ % kConfirmLag];
    return keys.ConfirmTaken(items[oldest.line], oldest.hit);
  };
  std::size_t duplicate_count = 0;
  constexpr std::size_t kAhead = 8;
  // Lines held one string each, or views after a sort, lie anywhere in memory: their text
  // is fetched further ahead still, before the hint reads it.
  constexpr std::size_t kTextAhead = 4 * kAhead;
  for (std::size_t m = 0; m < std::min(n, kTextAhead); ++m) PrefetchText(items[m]);
  std::array<std::uint64_t, kAhead> ahead{};
  for (std::size_t m = 0; m < n; ++m) {
    // Line m's own hint was made kAhead lines ago; its place now takes line m + kAhead's.
    const std::uint64_t hint = ahead[m % kAhead];
    if (m + kTextAhead < n) PrefetchText(items[m + kTextAhead]);
    if (m + kAhead < n) ahead[m % kAhead] = keys.PrefetchSlot(items[m + kAhead]);
    const std::string_view line = items[m];
    if (line.empty()) continue;
    const std::int32_t taker = keys.FirstOwner(line, hint, confirm);
    if (taker != kNone) {
      owner[m] = taker;
      ++duplicate_count;
      if (!confirm) {
        if (taken - confirmed == kConfirmLag && !confirm_oldest()) return false;
        unconfirmed[taken++ % kConfirmLag] = {m, keys.taken()};
        keys.PrefetchTaken(keys.taken());
      }
      continue;
    }
    order.kept.push_back(static_cast<std::uint32_t>(first + m));
    const std::size_t comma = line.find(',');
    if (comma != std::string_view::npos) keys.Add(static_cast<std::int32_t>(m), comma + 1);
  }
  while (confirmed < taken) {
    if (!confirm_oldest()) return false;
  }

  // Duplicates are listed grouped by their kept line in kept order, each group in list
  // order: a counting sort by owner, which keeps list order inside a group.
  order.duplicates.resize(duplicate_count);
  if (duplicate_count > 0) {
    std::vector<std::uint32_t> group_start(n + 1, 0);
    for (std::size_t m = 0; m < n; ++m) {
      if (owner[m] != kNone) ++group_start[static_cast<std::size_t>(owner[m]) + 1];
    }
    for (std::size_t i = 1; i <= n; ++i) group_start[i] += group_start[i - 1];
    for (std::size_t m = 0; m < n; ++m) {
      if (owner[m] != kNone) {
        order.duplicates[group_start[static_cast<std::size_t>(owner[m])]++] =
            static_cast<std::uint32_t>(first + m);
      }
    }
  }
  return true;
}

}  // namespace

DuplicateOrder FindDuplicates(std::span<const std::string_view> lines) {
  const std::size_t first = !lines.empty() && lines[0] == kHeader ? 1 : 0;
  const std::span<const std::string_view> items = lines.subspan(first);
  DuplicateOrder order;
  if (DecideInListOrder(items, first, false, order)) return order;
  // Two different keys shared a hash: decide again, comparing bytes as the pass goes.
  order = {};
  DecideInListOrder(items, first, true, order);
  return order;
}

void SetKeyHashBaseForTesting(std::optional<std::uint64_t> base) { HashBaseForTesting() = base; }

std::span<const std::string_view> DuplicateCheckExtras() {
  static constexpr std::string_view kExtras[] = {kHeader, kDuplicatesHeader};
  return kExtras;
}

DuplicateCheckPicks PickCheckedLines(std::span<const std::string_view> lines) {
  const DuplicateOrder order = FindDuplicates(lines);
  const auto header = static_cast<std::uint32_t>(lines.size());
  const std::size_t duplicate_count = order.duplicates.size();
  DuplicateCheckPicks result;
  result.picks.reserve(1 + order.kept.size() + (duplicate_count > 0 ? 1 + duplicate_count : 0));
  result.picks.push_back(header);
  result.picks.insert(result.picks.end(), order.kept.begin(), order.kept.end());
  const int kept_lines = static_cast<int>(result.picks.size());
  if (duplicate_count > 0) {
    result.picks.push_back(header + 1);
    result.picks.insert(result.picks.end(), order.duplicates.begin(), order.duplicates.end());
  }
  result.duplicate_count = static_cast<int>(duplicate_count);
  result.caret_line = kept_lines + (duplicate_count > 0 ? 1 : 0) + 1;
  return result;
}

DuplicateCheckResult CheckDuplicates(std::vector<std::string> lines) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  const DuplicateCheckPicks picked = PickCheckedLines(views);
  DuplicateCheckResult result;
  result.lines = MovePicks(lines, picked.picks, DuplicateCheckExtras());
  result.duplicate_count = picked.duplicate_count;
  result.caret_line = picked.caret_line;
  return result;
}

}  // namespace quarrix
