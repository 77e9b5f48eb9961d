#pragma once
// The message box's arithmetic: which buttons a button list names, their order, captions
// and results, the caption rule and the pixel layout computed from measured text sizes.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "controls/window_placement.h"

namespace quarrix {

enum class TSymbol { dgWarning, dgError, dgInformation, dgConfirmation, dgNone };

// Bit positions of the button set; also the left-to-right display order.
enum class ButtonKind {
  mbYes,
  mbNo,
  mbOk,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll
};
inline constexpr int kButtonKindCount = 10;

// Modal results; kMrCancel is also the answer of a box closed without a button.
inline constexpr int kMrOk = 1;
inline constexpr int kMrCancel = 2;

struct ButtonInfo {
  std::string_view search;   // upper-case name looked for in a button list
  std::string_view caption;  // "&" marks the accelerator letter
  int result;
};
const ButtonInfo& InfoOf(ButtonKind kind);

class ButtonSet {
 public:
  ButtonSet() = default;
  static ButtonSet Of(std::initializer_list<ButtonKind> kinds);
  bool Has(ButtonKind kind) const { return (bits_ >> static_cast<int>(kind)) & 1U; }
  void Add(ButtonKind kind) {
    bits_ = static_cast<std::uint16_t>(bits_ | (1U << static_cast<int>(kind)));
  }
  std::uint16_t bits() const { return bits_; }
  int Count() const;
  // The kinds of the set in display order.
  std::vector<ButtonKind> InDisplayOrder() const;
  friend bool operator==(const ButtonSet&, const ButtonSet&) = default;

 private:
  std::uint16_t bits_ = 0;
};

// Kinds whose names occur anywhere in the list, letter case ignored. There is no
// tokenising, so "mbYesToAll" also selects mbYes.
ButtonSet ParseButtonList(std::string_view list);

bool HasIcon(TSymbol symbol);
// "Warning", "Error", "Information", "Confirm", or empty for dgNone.
std::string_view DefaultCaption(TSymbol symbol);
// The stored title, unless it is empty or exactly "None": then the symbol's caption.
std::string DialogCaption(std::string_view stored_title, TSymbol symbol);

// a * b / c rounded to the nearest integer, halves away from zero, as the Windows call
// does; -1 when c is 0 or the result overflows 32 bits.
int MulDiv(int a, int b, int c);

// A font's average character size is taken from the extent of this string.
inline constexpr std::string_view kAverageCharSample =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
Size AverageCharSize(Size sample_extent);

// Messages are wrapped at half the screen width.
int MessageWrapWidth(int screen_width);

struct MessageLayoutInput {
  Size button_char;  // average character size of the button font
  Size text_char;    // average character size of the message font
  Size text;         // the message measured word-wrapped at MessageWrapWidth
  bool has_icon = false;
  ButtonSet buttons;
  int spacing_units = 1;  // horizontal dialog units between buttons
  Rect screen;            // the screen the box is centred on, in desktop coordinates
  FrameMargins frame;     // what the window frame adds around the client area
};

struct PlacedButton {
  ButtonKind kind;
  std::string name;  // "A0", "A1", ... in display order
  Rect bounds;
};

struct MessageLayout {
  int button_width = 0;
  int button_height = 0;
  int button_spacing = 0;
  int horizontal_margin = 0;
  int vertical_margin = 0;
  int horizontal_spacing = 0;
  int vertical_spacing = 0;
  Size text_block;
  int button_group_width = 0;
  Size client;
  Rect icon;  // meaningful only with an icon
  Rect label;
  std::vector<PlacedButton> buttons;
  int left = 0;  // the outer (frame) corner that centres the box on the screen
  int top = 0;
};

MessageLayout LayoutMessageBox(const MessageLayoutInput& input);

}  // namespace quarrix
