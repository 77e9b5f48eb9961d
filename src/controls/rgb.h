#pragma once
// An 8-bit-per-channel colour and the fixed colours the styled controls are defined with.
#include <cstdint>

namespace quarrix {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kClBlack{0, 0, 0};
inline constexpr Rgb kClWhite{255, 255, 255};
inline constexpr Rgb kClGray{128, 128, 128};
inline constexpr Rgb kClSilver{192, 192, 192};
inline constexpr Rgb kClBlue{0, 0, 255};
inline constexpr Rgb kClNavy{0, 0, 128};
inline constexpr Rgb kClFuchsia{255, 0, 255};

}  // namespace quarrix
