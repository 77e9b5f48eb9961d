#include "editor/virtual_keys.h"

#include <utility>

namespace quarrix {
namespace {

// Keys whose virtual code is not their Qt code; shifted punctuation maps to its unshifted key.
constexpr std::pair<int, int> kKeys[] = {
    {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},        {Qt::Key_Enter, 13},       {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},       {Qt::Key_Alt, 18},         {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},      {Qt::Key_Escape, 27},      {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},        {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},          {Qt::Key_Left, 37},        {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},         {Qt::Key_Down, 40},        {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},        {Qt::Key_Delete, 46},      {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},          {Qt::Key_NumLock, 144},    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},         {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},      {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},     {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},   {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},
};

constexpr std::pair<int, int> kShiftedDigits[] = {
    {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},   {Qt::Key_ParenRight, '0'},
};

int KeypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return 107;
    case Qt::Key_Minus:
      return 109;
    case Qt::Key_Period:
      return 110;
    case Qt::Key_Slash:
      return 111;
    default:
      return 0;
  }
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
#ifdef Q_OS_WIN
  if (event.nativeVirtualKey() != 0) return static_cast<int>(event.nativeVirtualKey());
#endif
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (const int code = KeypadKey(key); code != 0) return code;
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::kF1 + (key - Qt::Key_F1);
  for (const auto& [qt_key, code] : kKeys) {
    if (qt_key == key) return code;
  }
  for (const auto& [qt_key, code] : kShiftedDigits) {
    if (qt_key == key) return code;
  }
  return 0;
}

int QtKeyOfVirtualKey(int virtual_key) {
  if ((virtual_key >= 'A' && virtual_key <= 'Z') || (virtual_key >= '0' && virtual_key <= '9')) {
    return virtual_key;
  }
  if (virtual_key >= vk::kF1 && virtual_key < vk::kF1 + 24) {
    return Qt::Key_F1 + (virtual_key - vk::kF1);
  }
  for (const auto& [qt_key, code] : kKeys) {
    if (code == virtual_key) return qt_key;
  }
  return 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState state;
  if (modifiers.testFlag(Qt::ShiftModifier)) state.Include(TShiftFlag::ssShift);
  if (modifiers.testFlag(Qt::AltModifier)) state.Include(TShiftFlag::ssAlt);
  if (modifiers.testFlag(Qt::ControlModifier)) state.Include(TShiftFlag::ssCtrl);
  if (buttons.testFlag(Qt::LeftButton)) state.Include(TShiftFlag::ssLeft);
  if (buttons.testFlag(Qt::RightButton)) state.Include(TShiftFlag::ssRight);
  if (buttons.testFlag(Qt::MiddleButton)) state.Include(TShiftFlag::ssMiddle);
  return state;
}

}  // namespace quarrix
