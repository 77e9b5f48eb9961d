// Fuzzes the name walk and the list builder over arbitrary package images. The first byte
// chooses the options and the road; the rest is the image. Besides crashes and reads outside
// the image, it checks that the builder's single-pass variant counts equal the reader's own
// walk per name, and that the list grows by exactly the entries reported.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "editor/line_list.h"
#include "extract/name_walk.h"
#include "extract/trigger_list.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckWalk(std::span<const std::uint8_t> image) {
  using namespace quarrix;
  const ListWalk list(image, VariantSearch::kCount);
  NameWalk walk(image, kFirstSearchPosition, kListNameLimit);
  int index = 0;
  while (walk.Next()) {
    const std::string_view name = walk.current().name();
    Check(index < list.size() && list.name(index) == name);
    Check(name.size() <= kMaxNameLength);
    for (const char c : name) Check(c >= 0x20 && c <= 0x7F);
    Check(list.variants(index) == CountVariants(image, name, walk.current().next));
    ++index;
  }
  Check(index == list.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quarrix;
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  const std::span<const std::uint8_t> image(data + 1, size - 1);
  // The per-name walks cost up to 100,000 name reads: check them on half the inputs.
  if (control & 0x80) CheckWalk(image);

  TriggerOptions options;
  options.no_trigger_names = control & 0x01;
  options.dedicated = !(control & 0x02);
  options.hide_in_menu = control & 0x04;
  options.admin_only = control & 0x08;
  options.no_random = control & 0x10;
  const BuildRoad road = (control & 0x20) ? BuildRoad::kAddToCurrent : BuildRoad::kNewList;
  PlainLineList list;
  if (control & 0x40) {
    list.Append("[QuoomTriggers]");
    list.Append("");
  }
  const int before = list.Count();
  const BuildResult result = BuildTriggerList(list, image, road, options, "Fuzz.uax");
  const int removed = (road == BuildRoad::kAddToCurrent && before > 0) ? 1 : 0;
  const int header = road == BuildRoad::kNewList ? 1 : 0;
  Check(list.Count() == before - removed + header + result.appended + 1);
  Check(list.Get(list.Count() - 1).empty());
  Check(result.success == !list.Get(1).empty());
  for (int i = list.Count() - 1 - result.appended; i < list.Count() - 1; ++i) {
    Check(list.Get(i).rfind("Quooms=(SoundName=\"", 0) == 0);
  }
  return 0;
}
