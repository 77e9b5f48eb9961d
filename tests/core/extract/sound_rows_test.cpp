#include "extract/sound_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/line_list.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"
#include "support/uz2_files.h"

namespace quarrix {
namespace {

using testing::Entry;

// Fun.uax: Laugh with two variants, a name no entry can hold, and Gone, whose stored size runs
// past its data; two.uax, compressed as two.uax.uz2: two MP3 sounds, whose headers are not read,
// one of them with a name no entry can hold.
struct BrowsedPackages {
  testing::TempDir dir;
  std::string laugh =
      testing::MakeWave({.rate = 11025, .frames = 1102, .seed = 1, .extra_chunks = {}});
  std::string fun = dir.Write("Fun.uax", FunPackage());
  std::string two =
      dir.Write("two.uax.uz2", testing::ZlibUz2(testing::WriteSoundPackage(
                                   "two", {{"", {"Horn", "Say,\"Hi\""}}},
                                   {{"MP3", "ID3 not decoded"}, {"MP3", "ID3 not decoded"}})));
  std::vector<std::string> paths = {fun, two};
  SoundRows rows = ReadSoundRows(paths);

  std::string FunPackage() const {
    testing::PackageSpec layout = testing::MakeSoundPackage(
        "Fun", {{"Voices", {"Laugh", "Laugh1", "Tab\tName", "Laugh2"}}, {"", {"Gone"}}});
    std::vector<testing::SoundData> data(5);
    for (testing::SoundData& sound : data) {
      sound.format_name = layout.NameIndex("WAV");
      sound.audio = laugh;
    }
    data.back().audio_size = 1 << 20;
    testing::SetSoundData(layout, std::move(data));
    return testing::WritePackage(layout).bytes;
  }
};

TEST(ReadSoundRows, OneRowPerSoundObjectInThePackagesOrder) {
  BrowsedPackages packages;
  std::vector<std::string> described;
  for (const SoundRow& row : packages.rows.rows) {
    described.push_back(packages.rows.PackageOf(row).file_name + " " +
                        packages.rows.SoundOf(row).name.text + " " +
                        (row.listing ? row.listing->audio.format : "broken") + " " +
                        row.no_entry_reason + row.data_problem);
  }
  EXPECT_EQ(described, (std::vector<std::string>{
                           "Fun.uax Laugh WAV ",
                           "Fun.uax Laugh1 WAV ",
                           "Fun.uax Tab\tName WAV a sound name takes only the characters 0x20 "
                           "to 0x7E",
                           "Fun.uax Laugh2 WAV ",
                           "Fun.uax Gone broken " + packages.fun +
                               ": Gone: the audio size 1048576 does not match the " +
                               std::to_string(packages.laugh.size()) + " bytes left in its data",
                           "two.uax Horn MP3 ",
                           "two.uax Say,\"Hi\" MP3 a sound name cannot hold a double quote or a "
                           "comma",
                       }));
  EXPECT_EQ(packages.rows.rows[0].listing->facts.rate, 11025u);
  EXPECT_EQ(packages.rows.rows[5].listing->facts, AudioFacts{});
  EXPECT_EQ(packages.rows.audio_bytes, 4 * packages.laugh.size() + 2 * 15);
  EXPECT_EQ(ReadRowAudio(packages.rows, packages.rows.rows[3]), packages.laugh);
  EXPECT_EQ(ReadRowAudio(packages.rows, packages.rows.rows[5]), "ID3 not decoded");
}

TEST(PickRows, KeepsThePickedSoundsInPackageOrderWithTheWholePackagesVariants) {
  BrowsedPackages packages;
  PlainLineList list;
  const std::vector<std::size_t> picked = {5, 3, 0, 4};
  const BuildResult result =
      ExtractPackages(list, packages.paths, BuildRoad::kNewList, SoundSource::kSoundObjects, {}, {},
                      PickRows(packages.rows, picked));
  EXPECT_EQ(list.lines(),
            (std::vector<std::string>{"[QuoomTriggers]", Entry("Laugh", 3, "Fun.uax"),
                                      Entry("Laugh2", 0, "Fun.uax"), Entry("Gone", 0, "Fun.uax"),
                                      Entry("Horn", 0, "two.uax"), ""}));
  EXPECT_EQ(result.appended, 4);
}

}  // namespace
}  // namespace quarrix
