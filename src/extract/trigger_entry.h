#pragma once
// The one definition of a trigger entry line: the fixed pieces the list builder writes between
// the values, and the parser that reads an entry back. Entries escape nothing, so a name may
// hold quotes; the parser reads left to right, each value up to the first piece that ends it.
#include <optional>
#include <string_view>

namespace quarrix {

// The fixed pieces, in the order they stand in an entry:
// Quooms=(SoundName="S",TriggerName="T",DedicatedOnly=B,HideInMenu=B,AdminOnly=B,Random=N,
// Filename="F")
inline constexpr std::string_view kEntryStart = "Quooms=(SoundName=\"";
inline constexpr std::string_view kEntryTriggerName = "\",TriggerName=\"";
inline constexpr std::string_view kEntryDedicatedOnly = "\",DedicatedOnly=";
inline constexpr std::string_view kEntryHideInMenu = ",HideInMenu=";
inline constexpr std::string_view kEntryAdminOnly = ",AdminOnly=";
inline constexpr std::string_view kEntryRandom = ",Random=";
inline constexpr std::string_view kEntryFilename = ",Filename=\"";
inline constexpr std::string_view kEntryEnd = "\")";

inline constexpr std::string_view kEntryTrue = "True";
inline constexpr std::string_view kEntryFalse = "False";

// The values of one entry, viewing the line they were read from (keep the line alive).
struct TriggerEntry {
  std::string_view sound_name;
  std::string_view trigger_name;
  bool dedicated_only = false;
  bool hide_in_menu = false;
  bool admin_only = false;
  std::string_view random;  // one or more decimal digits, as written
  std::string_view file_name;
  bool operator==(const TriggerEntry&) const = default;
};

// The entry the line holds, or nothing when the line is no well-formed entry: S runs up to the
// first `",TriggerName="`, T up to the first `",DedicatedOnly=` after it, each B is True or
// False, N one or more digits, and F everything between `,Filename="` and the `")` that ends
// the line. Fixed pieces and flags match exactly (case included); nothing may follow `")`.
std::optional<TriggerEntry> ParseTriggerEntry(std::string_view line);

}  // namespace quarrix
