#include "controls/message_layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "runtime/ascii.h"

namespace quarrix {
namespace {

constexpr std::array<ButtonInfo, kButtonKindCount> kButtons = {{
    {"MBYES", "&Yes", 6},
    {"MBNO", "&No", 7},
    {"MBOK", "&OK", kMrOk},
    {"MBCANCEL", "&Cancel", kMrCancel},
    {"MBABORT", "&Abort", 3},
    {"MBRETRY", "&Retry", 4},
    {"MBIGNORE", "&Ignore", 5},
    {"MBALL", "A&ll", 8},
    {"MBNOTOALL", "No&ToAll", 9},
    {"MBYESTOALL", "Ye&sToAll", 10},
}};

// The order in which a list is searched; it decides nothing, since every name is looked
// for independently, but it is the order the names were always tried in.
constexpr std::array<ButtonKind, kButtonKindCount> kSearchOrder = {
    ButtonKind::mbOk,      ButtonKind::mbCancel,  ButtonKind::mbAbort, ButtonKind::mbRetry,
    ButtonKind::mbIgnore,  ButtonKind::mbYes,     ButtonKind::mbNo,    ButtonKind::mbAll,
    ButtonKind::mbNoToAll, ButtonKind::mbYesToAll};

}  // namespace

const ButtonInfo& InfoOf(ButtonKind kind) { return kButtons.at(static_cast<std::size_t>(kind)); }

ButtonSet ButtonSet::Of(std::initializer_list<ButtonKind> kinds) {
  ButtonSet set;
  for (ButtonKind kind : kinds) set.Add(kind);
  return set;
}

int ButtonSet::Count() const {
  int count = 0;
  for (int bit = 0; bit < kButtonKindCount; ++bit) count += (bits_ >> bit) & 1;
  return count;
}

std::vector<ButtonKind> ButtonSet::InDisplayOrder() const {
  std::vector<ButtonKind> kinds;
  for (int bit = 0; bit < kButtonKindCount; ++bit) {
    if (Has(static_cast<ButtonKind>(bit))) kinds.push_back(static_cast<ButtonKind>(bit));
  }
  return kinds;
}

ButtonSet ParseButtonList(std::string_view list) {
  const std::string upper = AsciiUpper(list);
  ButtonSet set;
  for (ButtonKind kind : kSearchOrder) {
    if (upper.find(InfoOf(kind).search) != std::string::npos) set.Add(kind);
  }
  return set;
}

bool HasIcon(TSymbol symbol) { return symbol != TSymbol::dgNone; }

std::string_view DefaultCaption(TSymbol symbol) {
  switch (symbol) {
    case TSymbol::dgWarning:
      return "Warning";
    case TSymbol::dgError:
      return "Error";
    case TSymbol::dgInformation:
      return "Information";
    case TSymbol::dgConfirmation:
      return "Confirm";
    case TSymbol::dgNone:
      break;
  }
  return "";
}

std::string DialogCaption(std::string_view stored_title, TSymbol symbol) {
  if (stored_title.empty() || stored_title == "None") return std::string(DefaultCaption(symbol));
  return std::string(stored_title);
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t numerator = std::int64_t{a} * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    numerator = -numerator;
    divisor = -divisor;
  }
  const std::int64_t half = divisor / 2;
  const std::int64_t result =
      numerator >= 0 ? (numerator + half) / divisor : (numerator - half) / divisor;
  if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max()) {
    return -1;
  }
  return static_cast<int>(result);
}

Size AverageCharSize(Size sample_extent) {
  return {sample_extent.width / static_cast<int>(kAverageCharSample.size()), sample_extent.height};
}

int MessageWrapWidth(int screen_width) { return screen_width / 2; }

MessageLayout LayoutMessageBox(const MessageLayoutInput& input) {
  MessageLayout out;
  const Size b = input.button_char;
  const Size t = input.text_char;
  out.button_width = MulDiv(46, b.width, 4);
  out.button_height = MulDiv(15, b.height, 8);
  out.button_spacing = MulDiv(input.spacing_units, b.width, 4);
  out.horizontal_margin = MulDiv(8, t.width, 4);
  out.vertical_margin = MulDiv(8, t.height, 8);
  out.horizontal_spacing = MulDiv(10, t.width, 4);
  out.vertical_spacing = MulDiv(10, t.height, 8);

  out.text_block = input.text;
  if (input.has_icon) {
    out.text_block.width += 32 + out.horizontal_spacing;
    out.text_block.height = std::max(out.text_block.height, 32);
  }

  const int count = input.buttons.Count();
  out.button_group_width =
      count == 0 ? 0 : count * out.button_width + (count - 1) * out.button_spacing;

  out.client.width =
      std::max(out.text_block.width, out.button_group_width) + 2 * out.horizontal_margin;
  out.client.height =
      out.text_block.height + out.button_height + out.vertical_spacing + 2 * out.vertical_margin;

  const Point corner = CentredWindowPosition(input.screen, input.frame, out.client);
  out.left = corner.x;
  out.top = corner.y;

  out.icon = {out.horizontal_margin, out.vertical_margin, 32, 32};
  out.label = {out.text_block.width - input.text.width + out.horizontal_margin, out.vertical_margin,
               input.text.width, input.text.height};

  int x = (out.client.width - out.button_group_width) / 2;
  const int y = out.text_block.height + out.vertical_margin + out.vertical_spacing;
  int number = 0;
  for (ButtonKind kind : input.buttons.InDisplayOrder()) {
    std::string name = "A";
    name += std::to_string(number++);
    out.buttons.push_back({kind, std::move(name), {x, y, out.button_width, out.button_height}});
    x += out.button_width + out.button_spacing;
  }
  return out;
}

}  // namespace quarrix
