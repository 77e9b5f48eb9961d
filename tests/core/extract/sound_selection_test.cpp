#include "extract/sound_selection.h"

#include <gtest/gtest.h>

#include <random>

#include "core/extract/image_bytes.h"
#include "extract/name_walk.h"
#include "support/package_writer.h"

namespace quarrix {
namespace {

using testing::Bytes;
using Names = std::vector<std::string>;

TEST(CountVariantsAmong, FollowsTheWalksRule) {
  const struct {
    Names names;
    std::vector<int> counts;
  } cases[] = {
      {{"Go", "Go1", "Go2", "Gone", "Go12"}, {3, 2, 0, 0, 0}},
      {{"Laugh", "LAUGH", "xlaugh", "laughs2"}, {3, 2, 0, 0}},
      {{"Boo"}, {0}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountVariantsAmong(c.names), c.counts);
    const ListWalk walk(Bytes(testing::TableImage(c.names)), VariantSearch::kCount);
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(walk.variants(static_cast<int>(i)), c.counts[i]) << c.names[i];
    }
  }
  Names many = {"Zed"};
  for (int i = 0; i < 150; ++i) many.push_back("Zed1");
  EXPECT_EQ(CountVariantsAmong(many)[0], 101);  // only the next 100 names are looked at
}

TEST(CountVariantsAmong, MatchesTheWalkOnRandomNameLists) {
  std::mt19937 random(8);
  const char kLetters[] = {'a', 'b', 'A'};
  for (int round = 0; round < 40; ++round) {
    Names names(130);
    for (std::string& name : names) {
      const int length = static_cast<int>(random() % 4);
      for (int k = 0; k < length; ++k) name += kLetters[random() % 3];
    }
    const ListWalk walk(Bytes(testing::TableImage(names)), VariantSearch::kCount);
    ASSERT_EQ(walk.size(), static_cast<int>(names.size()));
    const std::vector<int> counts = CountVariantsAmong(names);
    for (std::size_t i = 0; i < names.size(); ++i) {
      ASSERT_EQ(counts[i], walk.variants(static_cast<int>(i))) << "round " << round << " " << i;
    }
  }
}

TEST(SelectTriggerSounds, CountsVariantsAmongTheSoundsOrSkipsTheSearch) {
  // Engine and the package's own name are sounds here: the tables, not the names, tell.
  const testing::PackageSpec layout =
      testing::MakeSoundPackage("Fun", {{"Voices", {"Laugh", "Laugh1", "Engine"}},
                                        {"Voices.Sub", {"Sound", "Laugh2"}},
                                        {"", {"Fun"}},
                                        {"Effects", {"Horn", "Core"}}});
  const PackageTables tables = ParsePackageTables(Bytes(testing::WritePackage(layout).bytes), "F");
  const std::vector<SoundExport> exports = FindSoundExports(tables);
  for (const VariantSearch search : {VariantSearch::kCount, VariantSearch::kSkip}) {
    std::vector<int> counts;
    for (const TriggerSound& sound : SelectTriggerSounds(exports, search).sounds) {
      counts.push_back(sound.variants);
    }
    const std::vector<int> expected = search == VariantSearch::kCount
                                          ? std::vector<int>{3, 0, 0, 0, 0, 0, 0, 0}
                                          : std::vector<int>(8, 0);
    EXPECT_EQ(counts, expected);
  }
}

}  // namespace
}  // namespace quarrix
