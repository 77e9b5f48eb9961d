#pragma once
// Qt keys as the Windows virtual key codes the editor's key-down hook reports, and back.
#include <QKeyEvent>

#include "editor/key_codes.h"

namespace quarrix {

// The virtual key code of a key event (US layout for punctuation), or 0 when it has none.
int VirtualKeyOf(const QKeyEvent& event);

// The Qt key of a virtual key code, or 0 when there is none.
int QtKeyOfVirtualKey(int virtual_key);

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

}  // namespace quarrix
