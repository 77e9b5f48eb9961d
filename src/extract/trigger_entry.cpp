#include "extract/trigger_entry.h"

namespace quarrix {
namespace {

// Reads a line from the front: each step consumes a piece or fails.
class EntryReader {
 public:
  explicit EntryReader(std::string_view line) : rest_(line) {}

  bool Piece(std::string_view piece) {
    if (!rest_.starts_with(piece)) return false;
    rest_.remove_prefix(piece.size());
    return true;
  }

  // The text up to the first `end`, which is consumed too.
  std::optional<std::string_view> UpTo(std::string_view end) {
    const std::size_t at = rest_.find(end);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view value = rest_.substr(0, at);
    rest_.remove_prefix(at + end.size());
    return value;
  }

  std::optional<bool> Flag() {
    if (Piece(kEntryTrue)) return true;
    if (Piece(kEntryFalse)) return false;
    return std::nullopt;
  }

  std::string_view Digits() {
    std::size_t count = 0;
    while (count < rest_.size() && rest_[count] >= '0' && rest_[count] <= '9') ++count;
    const std::string_view digits = rest_.substr(0, count);
    rest_.remove_prefix(count);
    return digits;
  }

  // Everything before the closing piece that ends the line.
  std::optional<std::string_view> Last(std::string_view end) {
    if (!rest_.ends_with(end)) return std::nullopt;
    const std::string_view value = rest_.substr(0, rest_.size() - end.size());
    rest_ = {};
    return value;
  }

 private:
  std::string_view rest_;
};

}  // namespace

std::optional<TriggerEntry> ParseTriggerEntry(std::string_view line) {
  EntryReader reader(line);
  TriggerEntry entry;
  if (!reader.Piece(kEntryStart)) return std::nullopt;
  const auto sound = reader.UpTo(kEntryTriggerName);
  if (!sound) return std::nullopt;
  const auto trigger = reader.UpTo(kEntryDedicatedOnly);
  if (!trigger) return std::nullopt;
  const auto dedicated = reader.Flag();
  if (!dedicated || !reader.Piece(kEntryHideInMenu)) return std::nullopt;
  const auto menu = reader.Flag();
  if (!menu || !reader.Piece(kEntryAdminOnly)) return std::nullopt;
  const auto admin = reader.Flag();
  if (!admin || !reader.Piece(kEntryRandom)) return std::nullopt;
  entry.random = reader.Digits();
  if (entry.random.empty() || !reader.Piece(kEntryFilename)) return std::nullopt;
  const auto file = reader.Last(kEntryEnd);
  if (!file) return std::nullopt;
  entry.sound_name = *sound;
  entry.trigger_name = *trigger;
  entry.dedicated_only = *dedicated;
  entry.hide_in_menu = *menu;
  entry.admin_only = *admin;
  entry.file_name = *file;
  return entry;
}

}  // namespace quarrix
