#pragma once
// Reads the names of a UT2004 sound package by the byte pattern of its name table: every
// name entry ends in a flags word, and a marker flags word announces the next entry. The
// header and the object tables are never looked at, so any file yields some (or no) names.
//
// Positions are 16-bit: no byte at or past offset 65,536 (nor past the loaded data) is
// ever read, such a byte counts as missing (no match, end of name); the next search start
// p + L is taken modulo 65,536, so a negative length moves it back and may wrap it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix {

inline constexpr std::size_t kPackageImageLimit = 1'000'000;
inline constexpr std::uint16_t kFirstSearchPosition = 100;
inline constexpr int kSearchWindow = 255;
inline constexpr int kListNameLimit = 1000;
inline constexpr int kVariantNameLimit = 100;
inline constexpr std::size_t kMaxNameLength = 63;

// The first bytes of a package, at most kPackageImageLimit of them (LoadPackageImage of
// extract/package_source.h loads them).
class PackageImage {
 public:
  PackageImage() = default;
  explicit PackageImage(std::string bytes) : bytes_(std::move(bytes)) {}

  std::span<const std::uint8_t> bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(bytes_.data()), bytes_.size()};
  }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

// One name as ReadName gives it: at most 63 characters, each a byte 0x20..0x7F.
struct NameRead {
  std::array<char, kMaxNameLength + 1> buffer{};  // zero-filled; the name ends at the first zero
  std::size_t length = 0;
  std::uint16_t next = 0;  // where the next search starts: p + L in 16 bits
  std::string_view name() const { return {buffer.data(), length}; }
};

// The position of the length byte that follows the first name marker (flags word 0x00070010
// or 0x04070010) at positions start .. start + 254, or 0 when the window holds no marker or
// the marker is followed by a zero (or missing) byte.
std::uint16_t FindNextName(std::span<const std::uint8_t> image, std::uint16_t start);

// The name whose signed length byte L stands at position, cut at the first byte outside
// 0x20..0x7F and at 63 characters; a length of 1 or less gives the empty name.
NameRead ReadName(std::span<const std::uint8_t> image, std::uint16_t position);

// False for the empty name, "Engine", "Core" (case kept) and a name whose ASCII upper-case
// form equals package_base (the package file name without its extension, upper-cased).
bool IsSoundName(std::string_view name, std::string_view package_base);

// The variant count of name: 1 plus the number of the next (at most 100) names, walked from
// position, that contain name (ASCII case ignored) and are at most one character longer; a
// count of 1 becomes 0. The empty name matches nothing. The program counts with ListWalk
// below; this walk per name is its reference, kept for the walk's fuzzer, the list tests and a
// benchmark.
int CountVariants(std::span<const std::uint8_t> image, std::string_view name,
                  std::uint16_t position);

// The walk: FindNextName and ReadName in turn from a start position, at most `limit` names.
// It allocates nothing.
class NameWalk {
 public:
  NameWalk(std::span<const std::uint8_t> image, std::uint16_t start, int limit);

  // Reads the next name into current(); false once the walk has ended.
  bool Next();
  const NameRead& current() const { return current_; }
  // How many names have been read so far.
  int count() const { return count_; }

 private:
  std::span<const std::uint8_t> image_;
  std::uint16_t position_;
  int limit_;
  int count_ = 0;
  bool ended_ = false;
  NameRead current_;
};

// Whether a build counts each sound's numbered variants or leaves every count 0 (the option
// No Random Search), for the walk and for the sounds the tables give alike.
enum class VariantSearch { kCount, kSkip };

// The names of the list builder's walk (from position 100, at most 1000) with their variant
// counts. The counts equal CountVariants for each name but come from one pass over the names
// rather than a walk per name: the walk after a name goes on exactly as the main walk does.
class ListWalk {
 public:
  ListWalk(std::span<const std::uint8_t> image, VariantSearch search);

  int size() const { return listed_; }
  std::string_view name(int index) const { return names_[static_cast<std::size_t>(index)].name(); }
  // The variant count of the name at index; 0 for every name with VariantSearch::kSkip.
  int variants(int index) const;

 private:
  std::vector<NameRead> names_;                          // the listed names and the 100 after
  std::vector<std::array<char, kMaxNameLength>> upper_;  // their upper-case forms
  int listed_ = 0;
  bool count_variants_;
};

}  // namespace quarrix
