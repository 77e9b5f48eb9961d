#include "extract/name_walk.h"

#include <algorithm>
#include <cstring>

#include "runtime/ascii.h"

namespace quarrix {
namespace {

// A 16-bit position cannot address more than this many bytes.
constexpr std::size_t kAddressable = 65'536;

std::size_t Reachable(std::span<const std::uint8_t> image) {
  return std::min(image.size(), kAddressable);
}

bool IsMarker(const std::uint8_t* at) {
  return at[0] == 0x10 && at[1] == 0x00 && at[2] == 0x07 && (at[3] == 0x00 || at[3] == 0x04);
}

// Does `candidate` (upper case) count as a variant of `upper` (upper case, not empty)?
// A candidate holding the name and shorter than its length + 2 is the name itself or the
// name with one character before or after it.
bool IsVariant(std::string_view candidate, std::string_view upper) {
  if (candidate.size() == upper.size()) return candidate == upper;
  if (candidate.size() != upper.size() + 1) return false;
  return candidate.substr(0, upper.size()) == upper || candidate.substr(1) == upper;
}

}  // namespace

std::uint16_t FindNextName(std::span<const std::uint8_t> image, std::uint16_t start) {
  const std::size_t reachable = Reachable(image);
  const std::size_t window_end = std::size_t{start} + kSearchWindow;
  for (std::size_t q = start; q < window_end; ++q) {
    // Missing bytes match nothing, and every later position of the window misses more.
    if (q + 4 > reachable) return 0;
    if (IsMarker(image.data() + q)) {
      const std::size_t length_at = q + 4;
      if (length_at >= reachable || image[length_at] == 0) return 0;
      return static_cast<std::uint16_t>(length_at);
    }
  }
  return 0;
}

NameRead ReadName(std::span<const std::uint8_t> image, std::uint16_t position) {
  NameRead read;
  const std::size_t reachable = Reachable(image);
  const int length = position < reachable ? static_cast<std::int8_t>(image[position]) : 0;
  const long end =
      std::min<long>(static_cast<long>(position) + length, static_cast<long>(reachable));
  long at = static_cast<long>(position) + 1;
  while (at < end && read.length < kMaxNameLength) {
    const std::uint8_t byte = image[static_cast<std::size_t>(at)];
    if (byte < 0x20 || byte > 0x7F) break;
    read.buffer[read.length++] = static_cast<char>(byte);
    ++at;
  }
  read.next =
      static_cast<std::uint16_t>(static_cast<unsigned>(position) + static_cast<unsigned>(length));
  return read;
}

bool IsSoundName(std::string_view name, std::string_view package_base) {
  if (name.empty() || name == "Engine" || name == "Core") return false;
  if (name.size() != package_base.size()) return true;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (AsciiUpperOf(name[i]) != package_base[i]) return true;
  }
  return false;
}

int CountVariants(std::span<const std::uint8_t> image, std::string_view name,
                  std::uint16_t position) {
  if (name.empty()) return 0;
  const std::string upper = AsciiUpper(name);
  std::array<char, kMaxNameLength> candidate{};
  int count = 1;
  NameWalk walk(image, position, kVariantNameLimit);
  while (walk.Next()) {
    const std::string_view met = walk.current().name();
    std::transform(met.begin(), met.end(), candidate.begin(), AsciiUpperOf);
    if (met.size() < name.size() + 2 &&
        std::string_view(candidate.data(), met.size()).find(upper) != std::string_view::npos) {
      ++count;
    }
  }
  return count == 1 ? 0 : count;
}

NameWalk::NameWalk(std::span<const std::uint8_t> image, std::uint16_t start, int limit)
    : image_(image), position_(start), limit_(limit) {}

bool NameWalk::Next() {
  if (ended_ || count_ >= limit_) return false;
  // FindNextName never answers with a zero length byte, so a hit always holds a name entry.
  const std::uint16_t found = FindNextName(image_, position_);
  if (found == 0) {
    ended_ = true;
    return false;
  }
  current_ = ReadName(image_, found);
  position_ = current_.next;
  ++count_;
  return true;
}

ListWalk::ListWalk(std::span<const std::uint8_t> image, VariantSearch search)
    : count_variants_(search == VariantSearch::kCount) {
  // The walk after name i is the main walk from name i + 1 on, so reading 100 names past
  // the listed ones gives every variant count its names.
  const int wanted = count_variants_ ? kListNameLimit + kVariantNameLimit : kListNameLimit;
  names_.reserve(static_cast<std::size_t>(wanted));
  NameWalk walk(image, kFirstSearchPosition, wanted);
  while (walk.Next()) names_.push_back(walk.current());
  listed_ = std::min(static_cast<int>(names_.size()), kListNameLimit);
  if (count_variants_) {
    upper_.resize(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) {
      const std::string_view text = names_[i].name();
      std::transform(text.begin(), text.end(), upper_[i].begin(), AsciiUpperOf);
    }
  }
}

int ListWalk::variants(int index) const {
  if (!count_variants_) return 0;
  const auto i = static_cast<std::size_t>(index);
  const std::string_view upper(upper_[i].data(), names_[i].length);
  if (upper.empty()) return 0;
  const std::size_t last = std::min(names_.size(), i + 1 + kVariantNameLimit);
  int count = 1;
  for (std::size_t j = i + 1; j < last; ++j) {
    if (IsVariant(std::string_view(upper_[j].data(), names_[j].length), upper)) ++count;
  }
  return count == 1 ? 0 : count;
}

}  // namespace quarrix
