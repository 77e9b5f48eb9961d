#pragma once
// The system sounds that give the commands their feedback, by the MessageBeep types:
// 0 plain, 0x10 error, 0x20 question, 0x30 exclamation, 0x40 asterisk.
#include <memory>

namespace quarrix {

class Sounds {
 public:
  static constexpr int kPlain = 0x00;
  static constexpr int kError = 0x10;
  static constexpr int kQuestion = 0x20;
  static constexpr int kExclamation = 0x30;
  static constexpr int kAsterisk = 0x40;

  virtual ~Sounds() = default;
  virtual void Play(int type) = 0;
};

// The platform's own sounds: MessageBeep on Windows, libcanberra event sounds on Linux,
// otherwise the toolkit's beep.
std::unique_ptr<Sounds> MakeSystemSounds();

}  // namespace quarrix
