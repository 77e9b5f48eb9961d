#include "platform/sound_player.h"

#include "runtime/errors.h"

namespace quarrix {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string PlayRefusedMessage(std::string_view name, std::string_view reason) {
  return "Cannot play " + std::string(name) + ": " + std::string(reason);
}

std::string UnsupportedFormatMessage(std::string_view format) {
  std::string lower(format);
  for (char& c : lower) c = AsciiLower(c);
  return "Cannot play " + lower + " sounds";
}

bool IsAudioFormat(std::string_view format, std::string_view expected) {
  if (format.size() != expected.size()) return false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (AsciiLower(format[i]) != AsciiLower(expected[i])) return false;
  }
  return true;
}

void NoSoundPlayer::Play(std::string, std::string_view, std::string_view) {
  throw QuarrixError("Cannot play sounds: this build has no sound player");
}

}  // namespace quarrix
