#pragma once
// The program's small pictures, drawn in code so they stay sharp and need no image files:
// the window icon, the button images and the command menu's item images.
#include <QIcon>

namespace quarrix {

enum class AppIcon {
  kProgram,     // speaker with sound waves
  kGetQuooms,   // package with a note
  kSave,        // disk
  kExit,        // door arrow
  kOpen,        // folder
  kSort,        // A-Z with an arrow
  kDuplicates,  // two sheets
  kCheckList,   // sheet with a tick
  kFindFirst,   // magnifier
  kFindNext,    // magnifier with arrow
  kPlaySound,   // play triangle with sound waves
  kDesktop,     // monitor
  kClear,       // sheet with a cross
  kAbout,       // i in a circle
  kCancel,      // red cross
  kSubmit,      // green tick
  kOptions,     // ticked box
  kBrowse,      // waveform over a ticked box
};

QIcon MakeIcon(AppIcon which);

}  // namespace quarrix
