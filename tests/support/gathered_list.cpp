#include "support/gathered_list.h"

#include <algorithm>
#include <cstdint>

#include "support/trigger_entries.h"

namespace quarrix::testing {

std::vector<std::string> GatheredList(std::size_t count) {
  static const char* const kWords[] = {"Laugh", "Boo",       "Taunt",   "Cheer",  "Headshot",
                                       "Yeah",  "Announcer", "Burp",    "Scream", "Applause",
                                       "Doh",   "Ouch",      "Victory", "Loser",  "Woohoo",
                                       "Ninja", "Pirate",    "Zombie",  "Robot",  "Monkey"};
  static const char* const kPackages[] = {"Fun.uax", "Taunts.uax", "QuoomPack1.uax",
                                          "AnnouncerMale.uax", "Stuff_2004.uax"};
  // A fixed xorshift sequence, so every run measures the same list.
  std::uint64_t state = 0x2545F4914F6CDD1Dull;
  const auto next = [&state](std::uint64_t bound) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state % bound;
  };
  const std::uint64_t distinct = std::max<std::uint64_t>(1, count / 4);
  std::vector<std::string> lines;
  lines.reserve(count + 1);
  lines.emplace_back("[QuoomTriggers]");
  while (lines.size() < count) {
    if (next(200) == 0) {
      lines.emplace_back();
      continue;
    }
    const std::uint64_t id = next(distinct);
    std::string name = kWords[id % 20];
    if (id >= 20) name += kWords[(id / 20) % 20];
    if (id >= 400) name += std::to_string(id / 400);
    if (next(10) == 0) name[0] = static_cast<char>(name[0] - 'A' + 'a');
    const int random = static_cast<int>(next(4));
    lines.push_back(Entry(name, random, kPackages[next(5)]));
  }
  lines.emplace_back();
  return lines;
}

}  // namespace quarrix::testing
