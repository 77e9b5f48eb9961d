// Fuzzes the trigger entry parser. The first byte picks the test:
// - even: the rest is a line. When it parses, the values put back between the fixed pieces
//   give the line exactly, the sound name holds no `",TriggerName="`, the trigger name no
//   `",DedicatedOnly=`, and Random is digits only. The list-filler test never fails on it.
// - odd: its bits 1-4 are the builder's options, bits 6-7 the count; the rest, cut at the first
// zero byte, is a
//   sound name and a file name. The builder's entry parses back to the values it was built
//   from whenever the names hold no piece that would end them early; it always passes the
//   line test above.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "extract/list_check.h"
#include "extract/trigger_entry.h"
#include "extract/trigger_list.h"

namespace {

using namespace quarrix;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string_view Flag(bool value) { return value ? kEntryTrue : kEntryFalse; }

void CheckLine(std::string_view line) {
  IsListFiller(line);
  const auto entry = ParseTriggerEntry(line);
  if (!entry) return;
  std::string again(kEntryStart);
  again += entry->sound_name;
  again += kEntryTriggerName;
  again += entry->trigger_name;
  again += kEntryDedicatedOnly;
  again += Flag(entry->dedicated_only);
  again += kEntryHideInMenu;
  again += Flag(entry->hide_in_menu);
  again += kEntryAdminOnly;
  again += Flag(entry->admin_only);
  again += kEntryRandom;
  again += entry->random;
  again += kEntryFilename;
  again += entry->file_name;
  again += kEntryEnd;
  Check(again == line);
  Check(entry->sound_name.find(kEntryTriggerName) == std::string_view::npos);
  Check(entry->trigger_name.find(kEntryDedicatedOnly) == std::string_view::npos);
  Check(!entry->random.empty() &&
        entry->random.find_first_not_of("0123456789") == std::string_view::npos);
}

// True when a value followed by the piece that ends it holds that piece sooner.
bool EndsEarly(std::string_view value, std::string_view end) {
  return (std::string(value) + std::string(end)).find(end) != value.size();
}

void CheckBuilt(std::uint8_t bits, std::string_view rest) {
  const TriggerOptions options{.no_trigger_names = (bits & 2) != 0,
                               .dedicated = (bits & 4) != 0,
                               .hide_in_menu = (bits & 8) != 0,
                               .admin_only = (bits & 16) != 0};
  const std::size_t cut = rest.find('\0');
  const std::string_view name = rest.substr(0, cut);
  const std::string_view file = cut == std::string_view::npos ? "" : rest.substr(cut + 1);
  const std::string line = TriggerEntryFormat(options, file).Entry(name, bits >> 6);
  const std::string_view trigger = options.no_trigger_names ? "" : name;
  if (!EndsEarly(name, kEntryTriggerName) && !EndsEarly(trigger, kEntryDedicatedOnly)) {
    const auto entry = ParseTriggerEntry(line);
    Check(entry.has_value());
    Check(entry->sound_name == name && entry->trigger_name == trigger &&
          entry->dedicated_only == options.dedicated &&
          entry->hide_in_menu == options.hide_in_menu && entry->admin_only == options.admin_only &&
          entry->random == std::to_string(bits >> 6) && entry->file_name == file);
  }
  CheckLine(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    CheckBuilt(data[0], rest);
  } else {
    CheckLine(rest);
  }
  return 0;
}
