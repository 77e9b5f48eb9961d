#include "extract/trigger_list.h"

#include "extract/name_walk.h"
#include "extract/trigger_entry.h"
#include "runtime/ascii.h"

namespace quarrix {

std::string PackageBase(std::string_view file_name) {
  if (file_name.size() <= 4) return {};
  return AsciiUpper(file_name.substr(0, file_name.size() - 4));
}

std::string FileNameOf(std::string_view path) {
#ifdef _WIN32
  const std::size_t cut = path.find_last_of("/\\:");
#else
  const std::size_t cut = path.rfind('/');
#endif
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

TriggerEntryFormat::TriggerEntryFormat(const TriggerOptions& options, std::string_view file_name)
    : no_trigger_names_(options.no_trigger_names) {
  const auto flag = [](bool value) { return value ? kEntryTrue : kEntryFalse; };
  flags_ = kEntryDedicatedOnly;
  flags_ += flag(options.dedicated);
  flags_ += kEntryHideInMenu;
  flags_ += flag(options.hide_in_menu);
  flags_ += kEntryAdminOnly;
  flags_ += flag(options.admin_only);
  flags_ += kEntryRandom;
  file_ = kEntryFilename;
  file_ += file_name;
  file_ += kEntryEnd;
}

std::string TriggerEntryFormat::Entry(std::string_view sound_name, int variants) const {
  const std::string count = std::to_string(variants);
  std::string entry;
  entry.reserve(kEntryStart.size() + 2 * sound_name.size() + kEntryTriggerName.size() +
                flags_.size() + count.size() + file_.size());
  entry += kEntryStart;
  entry += sound_name;
  entry += kEntryTriggerName;
  if (!no_trigger_names_) entry += sound_name;
  entry += flags_;
  entry += count;
  entry += file_;
  return entry;
}

TriggerListAppender::TriggerListAppender(LineList& list, BuildRoad road,
                                         const TriggerOptions& options, std::string_view file_name)
    : list_(list), format_(options, file_name), no_random_(options.no_random) {
  if (road == BuildRoad::kAddToCurrent) {
    const int last = list_.Count() - 1;
    if (last >= 0 && list_.Get(last).empty()) list_.Delete(last);
  } else {
    list_.Append(kTriggerHeader);
  }
}

void TriggerListAppender::Add(std::string_view sound_name, int variants) {
  list_.Append(format_.Entry(sound_name, no_random_ ? 0 : variants));
  ++appended_;
}

BuildResult TriggerListAppender::Close() {
  list_.Append("");
  return {!list_.Get(1).empty(), appended_};
}

BuildResult BuildTriggerList(LineList& list, std::span<const std::uint8_t> image, BuildRoad road,
                             const TriggerOptions& options, std::string_view file_name) {
  TriggerListAppender appender(list, road, options, file_name);
  const std::string base = PackageBase(file_name);
  // No Random Search spares the walk its variant counts.
  const ListWalk walk(image, options.no_random ? VariantSearch::kSkip : VariantSearch::kCount);
  for (int i = 0; i < walk.size(); ++i) {
    if (IsSoundName(walk.name(i), base)) appender.Add(walk.name(i), walk.variants(i));
  }
  return appender.Close();
}

}  // namespace quarrix
