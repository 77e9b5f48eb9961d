#pragma once
// The polynomial hash of the duplicate check's hash table (its base is drawn once a run; a
// hash is never stored).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarrix {

#if !defined(__SIZEOF_INT128__)
#error "PolynomialHash needs a compiler with a 128-bit integer (GCC, Clang)"
#endif

// A polynomial hash modulo the prime 2^61 - 1: the hash of bytes s[0..n) is the sum of
// (s[i] + 1) * base^(n - 1 - i). With the powers of the base at hand, the terms are
// independent multiplications summed in 128 bits and reduced once, so a suffix of a text
// extends to a longer one at the cost of one multiplication. Two different texts of length
// n share a hash with a chance of at most n / 2^61 over the choice of the base.
class PolynomialHash {
 public:
  __extension__ typedef unsigned __int128 Sum;
  static constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;

  explicit PolynomialHash(std::uint64_t base) : powers_{1, base % (kPrime - 2) + 2} {}

  // Makes texts of up to `length` bytes hashable.
  void Reserve(std::size_t length) {
    while (powers_.size() < length) powers_.push_back(Reduce(Sum{powers_.back()} * powers_[1]));
  }
  // The term of the byte `distance` places before the end of the text (Reserve first).
  Sum Term(char byte, std::size_t distance) const {
    return Sum{static_cast<std::uint8_t>(byte) + 1u} * powers_[distance];
  }
  // The hash of bytes of at most the reserved length.
  std::uint64_t Of(const char* data, std::size_t size) const {
    Sum sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += Term(data[i], size - 1 - i);
    return Reduce(sum);
  }
  static std::uint64_t Reduce(Sum sum) {
    sum = (sum & kPrime) + (sum >> 61);
    sum = (sum & kPrime) + (sum >> 61);
    const auto value = static_cast<std::uint64_t>(sum);
    return value >= kPrime ? value - kPrime : value;
  }

 private:
  std::vector<std::uint64_t> powers_;
};

}  // namespace quarrix
