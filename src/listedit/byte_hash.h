#pragma once
// A fast 64-bit hash of a byte string for the list algorithms' hash tables (not stable
// across versions; never stored).
#include <cstdint>
#include <cstring>

namespace quarrix {

inline std::uint64_t HashBytes(const char* data, std::size_t size) {
  constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = size * kMul;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, data + i, 8);
    hash = (hash ^ chunk) * kMul;
    hash ^= hash >> 29;
  }
  std::uint64_t tail = 0;
  if (size > i) std::memcpy(&tail, data + i, size - i);
  hash = (hash ^ tail) * kMul;
  hash ^= hash >> 32;
  return hash;
}

}  // namespace quarrix
