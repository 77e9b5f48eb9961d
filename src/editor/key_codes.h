#pragma once
// What the editor's key-down hook is given: the Windows virtual key code of the key and the
// state of the modifier keys and mouse buttons (Delphi's TShiftState).
#include <cstdint>
#include <initializer_list>

namespace quarrix {

namespace vk {
inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kF1 = 112;
inline constexpr int kF3 = 114;
}  // namespace vk

enum class TShiftFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };

class TShiftState {
 public:
  constexpr TShiftState() = default;
  constexpr TShiftState(std::initializer_list<TShiftFlag> flags) {
    for (const TShiftFlag flag : flags) Include(flag);
  }
  constexpr void Include(TShiftFlag flag) { bits_ |= Bit(flag); }
  constexpr bool Contains(TShiftFlag flag) const { return (bits_ & Bit(flag)) != 0; }
  constexpr bool operator==(const TShiftState&) const = default;

 private:
  static constexpr std::uint8_t Bit(TShiftFlag flag) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(flag));
  }
  std::uint8_t bits_ = 0;
};

}  // namespace quarrix
