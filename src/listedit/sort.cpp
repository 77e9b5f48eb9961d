#include "listedit/sort.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "editor/line_list.h"
#include "runtime/ascii.h"

namespace quarrix {
namespace {

constexpr std::string_view kHeader = kSortedHeader;

// A key byte as the sort compares it: ASCII upper case, unsigned.
std::uint8_t KeyByte(char c) { return static_cast<std::uint8_t>(AsciiUpperOf(c)); }

std::size_t KeyLength(std::string_view line) {
  const std::size_t comma = line.find(',');
  return comma == std::string_view::npos ? 0 : comma + 1;
}

// Counts over positions 0..n-1, with prefix sums and "k-th free slot" search.
class Fenwick {
 public:
  explicit Fenwick(std::size_t size) : tree_(size + 1, 0) {}

  void Add(std::size_t position, std::int32_t delta) {
    for (std::size_t i = position + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }
  // Sum over positions [0, end).
  std::int32_t Prefix(std::size_t end) const {
    std::int32_t sum = 0;
    for (std::size_t i = end; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }
  // The smallest position whose prefix sum (inclusive) reaches rank + 1; all counts >= 0.
  std::size_t FindByRank(std::int32_t rank) const {
    std::size_t position = 0;
    std::size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (position + step < tree_.size() && tree_[position + step] <= rank) {
        position += step;
        rank -= tree_[position];
      }
    }
    return position;
  }

 private:
  std::vector<std::int32_t> tree_;
};

// Buffers reused from group to group.
struct GroupScratch {
  std::vector<std::uint32_t> insert_at;
  std::vector<std::uint32_t> slots;
};

// Puts the members of one group of equal keys (given in list order) in the order the
// exchange sort leaves them. Watching only the group's members (G) and the lines with smaller
// keys (S), a pass either drops a leading S, or moves the leading G to the place of the first
// S behind the leading run of G's. So the group forms a queue: each member joins at its back,
// and each S behind it turns the queue once (front to back). `smaller_after[k]` counts the
// S between member k and k + 1 (after the last member for the last). The queue is a circular
// array with its front at `head`; a member joins by insertion at the front's index, so all
// insert indexes are known up front and resolved backwards, each member taking the free slot
// of its rank.
void OrderGroup(std::span<std::uint32_t> members, std::span<const std::int64_t> smaller_after,
                GroupScratch& scratch) {
  const std::size_t count = members.size();
  std::vector<std::uint32_t>& insert_at = scratch.insert_at;
  insert_at.assign(count, 0);
  std::size_t head = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (k > 0) insert_at[k] = static_cast<std::uint32_t>(head++);
    head = static_cast<std::size_t>((static_cast<std::int64_t>(head) + smaller_after[k]) %
                                    static_cast<std::int64_t>(k + 1));
  }

  std::vector<std::uint32_t>& slots = scratch.slots;
  if (count <= 32) {
    slots.clear();
    for (std::size_t k = 0; k < count; ++k) {
      slots.insert(slots.begin() + insert_at[k], members[k]);
    }
  } else {
    slots.assign(count, 0);
    Fenwick free_slots(count);
    for (std::size_t i = 0; i < count; ++i) free_slots.Add(i, 1);
    for (std::size_t k = count; k-- > 0;) {
      const std::size_t slot = free_slots.FindByRank(static_cast<std::int32_t>(insert_at[k]));
      slots[slot] = members[k];
      free_slots.Add(slot, -1);
    }
  }
  std::rotate_copy(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(head), slots.end(),
                   members.begin());
}

// A key's 24 held bytes after the common prefix, upper-cased and zero-padded, big-endian in
// three words so that comparing the words compares the bytes; with the line and key length.
struct Entry {
  std::uint64_t head;
  std::uint64_t middle;
  std::uint64_t tail;
  std::uint32_t line;
  std::uint32_t length;
};

bool HeldBytesBefore(const Entry& a, const Entry& b) {
  if (a.head != b.head) return a.head < b.head;
  if (a.middle != b.middle) return a.middle < b.middle;
  if (a.tail != b.tail) return a.tail < b.tail;
  return a.line < b.line;
}

unsigned HeldByte(const Entry& entry, int byte) {
  const std::uint64_t word = byte < 8 ? entry.head : (byte < 16 ? entry.middle : entry.tail);
  return static_cast<unsigned>(word >> (56 - 8 * (byte % 8))) & 0xFFu;
}

// Sorts entries by their held bytes from `byte` on, list order among equals: a
// most-significant-byte-first radix sort that moves the entries in place (no second array,
// which a huge list's peak memory would feel), small buckets sorted by comparison.
void SortByHeldBytes(std::span<Entry> entries, int byte) {
  constexpr std::size_t kSmall = 64;
  constexpr int kHeldBytes = 24;
  for (; byte < kHeldBytes; ++byte) {
    if (entries.size() <= kSmall) {
      std::sort(entries.begin(), entries.end(), HeldBytesBefore);
      return;
    }
    std::array<std::size_t, 257> start{};
    for (const Entry& entry : entries) ++start[HeldByte(entry, byte) + 1];
    // All in one bucket: nothing to move, on to the next byte.
    if (std::ranges::find(start, entries.size()) != start.end()) continue;
    for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
    // Each swap puts one entry into its bucket for good.
    std::array<std::size_t, 256> next{};
    std::copy(start.begin(), start.end() - 1, next.begin());
    for (std::size_t d = 0; d < 256; ++d) {
      while (next[d] < start[d + 1]) {
        const unsigned target = HeldByte(entries[next[d]], byte);
        if (target == d) {
          ++next[d];
        } else {
          std::swap(entries[next[d]], entries[next[target]++]);
        }
      }
    }
    for (std::size_t d = 0; d < 256; ++d) {
      const std::size_t size = start[d + 1] - start[d];
      if (size > 1) SortByHeldBytes(entries.subspan(start[d], size), byte + 1);
    }
    return;
  }
  // Every held byte equal: list order.
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.line < b.line; });
}

// The length of the common prefix of all non-empty keys, case folded (every key starts with
// it, so the entries hold the bytes after it), and how many keys there are.
struct KeyPrefix {
  std::size_t length = 0;
  std::size_t keys = 0;
};

KeyPrefix CommonKeyPrefix(std::span<const std::string_view> lines) {
  std::string first_key;
  KeyPrefix prefix;
  for (const std::string_view line : lines) {
    const std::size_t length = KeyLength(line);
    if (length == 0) continue;
    if (prefix.keys++ == 0) {
      first_key = AsciiUpper(line.substr(0, length));
      prefix.length = length;
      continue;
    }
    std::size_t same = 0;
    const std::size_t limit = std::min(prefix.length, length);
    while (same < limit && first_key[same] == AsciiUpperOf(line[same])) ++same;
    prefix.length = same;
  }
  return prefix;
}

// The lines of the empty key (which go first, in list order) and an entry for every other.
struct KeyedLines {
  std::vector<std::uint32_t> order;
  std::vector<Entry> entries;
};

KeyedLines MakeEntries(std::span<const std::string_view> lines, KeyPrefix prefix) {
  const auto word_at = [](std::string_view line, std::size_t from, std::size_t end) {
    std::uint64_t word = 0;
    for (std::size_t b = from; b < from + 8; ++b) {
      word = (word << 8) | (b < end ? KeyByte(line[b]) : 0u);
    }
    return word;
  };
  KeyedLines keyed;
  keyed.order.reserve(lines.size());
  keyed.entries.reserve(prefix.keys);
  const std::size_t held = prefix.length;
  for (std::uint32_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const auto length = static_cast<std::uint32_t>(KeyLength(line));
    if (length == 0) {
      keyed.order.push_back(i);
      continue;
    }
    keyed.entries.push_back({word_at(line, held, length), word_at(line, held + 8, length),
                             word_at(line, held + 16, length), i, length});
  }
  return keyed;
}

// The lines in key order, list order among equal keys, each with its group of equal keys:
// 0 for the empty key, then one per distinct key in key order.
struct KeyGroups {
  std::vector<std::uint32_t> order;
  std::vector<std::uint32_t> group_of;     // by line
  std::vector<std::uint32_t> group_begin;  // index into `order` of each group's first line,
                                           // and the end of the last group
};

KeyGroups GroupEqualKeys(std::span<const std::string_view> lines, KeyedLines keyed,
                         std::size_t prefix) {
  // A key ends with its only comma, so equal held bytes mean the two keys end at the same
  // place among them (and are equal) or both go on past them.
  const std::size_t rest = prefix + 24;
  const auto same_held = [](const Entry& a, const Entry& b) {
    return a.head == b.head && a.middle == b.middle && a.tail == b.tail;
  };
  const auto compare_rest = [&](const Entry& a, const Entry& b) -> int {
    if (a.length <= rest) return 0;
    const std::string_view x = lines[a.line];
    const std::string_view y = lines[b.line];
    const std::size_t common = std::min(a.length, b.length);
    for (std::size_t k = rest; k < common; ++k) {
      const std::uint8_t p = KeyByte(x[k]);
      const std::uint8_t q = KeyByte(y[k]);
      if (p != q) return p < q ? -1 : 1;
    }
    return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
  };
  // First by the held bytes alone, then each run of equal held bytes by the rest of the key,
  // so the lines themselves are read only where the held bytes tie.
  std::vector<Entry>& entries = keyed.entries;
  SortByHeldBytes(entries, 0);

  KeyGroups groups{std::move(keyed.order), std::vector<std::uint32_t>(lines.size(), 0), {0}};
  const std::size_t empty_count = groups.order.size();
  for (std::size_t start = 0; start < entries.size();) {
    std::size_t end = start + 1;
    while (end < entries.size() && same_held(entries[start], entries[end])) ++end;
    const bool long_keys = end - start > 1 && entries[start].length > rest;
    if (long_keys) {
      std::sort(entries.begin() + static_cast<std::ptrdiff_t>(start),
                entries.begin() + static_cast<std::ptrdiff_t>(end),
                [&](const Entry& a, const Entry& b) {
                  const int c = compare_rest(a, b);
                  return c != 0 ? c < 0 : a.line < b.line;
                });
    }
    for (std::size_t k = start; k < end; ++k) {
      if (k == start || (long_keys && compare_rest(entries[k - 1], entries[k]) != 0)) {
        groups.group_begin.push_back(static_cast<std::uint32_t>(empty_count + k));
      }
      groups.group_of[entries[k].line] = static_cast<std::uint32_t>(groups.group_begin.size() - 1);
      groups.order.push_back(entries[k].line);
    }
    start = end;
  }
  groups.group_begin.push_back(static_cast<std::uint32_t>(lines.size()));
  return groups;
}

// For every line in a group of two or more: how many lines with a smaller key stand before
// it. One sweep in list order, counting lines per group.
std::vector<std::int32_t> SmallerKeysBefore(const KeyGroups& groups) {
  const std::size_t n = groups.group_of.size();
  std::vector<std::int32_t> smaller_before(n, 0);
  Fenwick seen(groups.group_begin.size() - 1);
  for (std::uint32_t p = 0; p < n; ++p) {
    const std::uint32_t g = groups.group_of[p];
    if (groups.group_begin[g + 1] - groups.group_begin[g] > 1) smaller_before[p] = seen.Prefix(g);
    seen.Add(g, 1);
  }
  return smaller_before;
}

// Puts each group of equal keys (but the empty key's, which no pass moves) into the order
// the exchange sort leaves it in.
void OrderEachGroup(KeyGroups& groups, std::span<const std::int32_t> smaller_before) {
  std::vector<std::int64_t> smaller_after;
  GroupScratch scratch;
  for (std::size_t g = 1; g + 1 < groups.group_begin.size(); ++g) {
    const std::uint32_t begin = groups.group_begin[g];
    std::span<std::uint32_t> members(groups.order.data() + begin,
                                     groups.group_begin[g + 1] - begin);
    const std::size_t count = members.size();
    if (count < 2) continue;
    smaller_after.resize(count);
    for (std::size_t k = 0; k + 1 < count; ++k) {
      smaller_after[k] = smaller_before[members[k + 1]] - smaller_before[members[k]];
    }
    smaller_after[count - 1] =
        static_cast<std::int64_t>(begin) - smaller_before[members[count - 1]];
    OrderGroup(members, smaller_after, scratch);
  }
}

// Fewer than six lines, or the sixth (index 5) empty.
template <typename Line>
bool RefusesToSort(std::span<const Line> lines) {
  return lines.size() < 6 || lines[5].empty();
}

}  // namespace

bool SortRefuses(std::span<const std::string> lines) { return RefusesToSort(lines); }
bool SortRefuses(std::span<const std::string_view> lines) { return RefusesToSort(lines); }

std::vector<std::uint32_t> ExchangeSortOrder(std::span<const std::string> lines) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return ExchangeSortOrder(views);
}

// Every non-empty key starts with the common prefix of all keys; the 24 upper-cased bytes
// after it, held in the entry, decide nearly every comparison without another look at the
// lines (sound names run to about twenty characters).
std::vector<std::uint32_t> ExchangeSortOrder(std::span<const std::string_view> lines) {
  const KeyPrefix prefix = CommonKeyPrefix(lines);
  KeyGroups groups = GroupEqualKeys(lines, MakeEntries(lines, prefix), prefix.length);
  const std::vector<std::int32_t> smaller_before = SmallerKeysBefore(groups);
  OrderEachGroup(groups, smaller_before);
  return std::move(groups.order);
}

std::vector<std::uint32_t> SortedLineOrder(std::span<const std::string_view> lines) {
  const std::size_t first = !lines.empty() && lines[0] == kHeader ? 1 : 0;
  std::vector<std::uint32_t> order = ExchangeSortOrder(lines.subspan(first));
  std::size_t kept = 0;
  for (const std::uint32_t index : order) {
    if (!lines[first + index].empty()) order[kept++] = static_cast<std::uint32_t>(first + index);
  }
  order.resize(kept);
  return order;
}

std::vector<std::uint32_t> SortPicks(std::span<const std::string_view> lines) {
  const std::vector<std::uint32_t> order = SortedLineOrder(lines);
  std::vector<std::uint32_t> picks;
  picks.reserve(order.size() + 1);
  picks.push_back(static_cast<std::uint32_t>(lines.size()));
  picks.insert(picks.end(), order.begin(), order.end());
  return picks;
}

SortResult SortTriggerList(std::vector<std::string> lines) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  const std::vector<std::uint32_t> picks = SortPicks(views);
  const std::string_view extras[] = {kSortedHeader};
  SortResult result;
  result.lines = MovePicks(lines, picks, extras);
  result.caret_line = static_cast<int>(result.lines.size());
  return result;
}

}  // namespace quarrix
