#pragma once
// Trigger entry lines as tests expect them, written out from the format by hand rather than
// by the builder under test, so a fault of the builder cannot hide in the expectation.
#include <optional>
#include <string>
#include <string_view>

namespace quarrix::testing {

// The pieces of one entry; the defaults are the options dialog's, the package is Fun.uax.
struct EntryFields {
  std::string_view sound = {};
  int random = 0;
  std::string_view file = "Fun.uax";
  std::optional<std::string_view> trigger = std::nullopt;  // the sound name when not given
  bool dedicated = true;
  bool hide_in_menu = false;
  bool admin_only = false;
};

// Quooms=(SoundName="…",TriggerName="…",DedicatedOnly=…,HideInMenu=…,AdminOnly=…,Random=…,
// Filename="…"), nothing escaped.
inline std::string Entry(const EntryFields& fields) {
  const auto flag = [](bool value) { return value ? "True" : "False"; };
  std::string line = "Quooms=(SoundName=\"";
  line += fields.sound;
  line += "\",TriggerName=\"";
  line += fields.trigger.value_or(fields.sound);
  line += "\",DedicatedOnly=";
  line += flag(fields.dedicated);
  line += ",HideInMenu=";
  line += flag(fields.hide_in_menu);
  line += ",AdminOnly=";
  line += flag(fields.admin_only);
  line += ",Random=" + std::to_string(fields.random) + ",Filename=\"";
  line += fields.file;
  line += "\")";
  return line;
}

inline std::string Entry(std::string_view sound, int random = 0,
                         std::string_view file = "Fun.uax") {
  return Entry(EntryFields{.sound = sound, .random = random, .file = file});
}

}  // namespace quarrix::testing
