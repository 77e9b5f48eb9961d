#include "extract/sound_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/line_list.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"

namespace quarrix {
namespace {

using testing::Entry;

struct BrowsedPackages {
  testing::TempDir dir;
  std::string ogg = testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg");
  std::string laugh =
      testing::MakeWave({.rate = 11025, .frames = 1102, .seed = 1, .extra_chunks = {}});
  std::string two = dir.Write(
      "two.uax", testing::WriteSoundPackage("two", {{"", {"Horn"}}}, {{"MP3", "ID3 not decoded"}}));
  std::string fun = dir.Write("Fun.uax", FunPackage());

  // Laugh has two variants; a name no entry can hold; an Ogg sound whose stored size runs past
  // its data.
  std::string FunPackage() const {
    testing::PackageSpec layout = testing::MakeSoundPackage(
        "Fun", {{"Voices", {"Laugh", "Laugh1", "Tab\tName", "Laugh2"}}, {"", {"Hum", "Gone"}}});
    std::vector<testing::SoundData> data;
    for (const std::string& audio : {laugh, laugh, laugh, laugh, ogg, ogg}) {
      testing::SoundData sound;
      sound.format_name = layout.NameIndex(audio == ogg ? "OGG" : "WAV");
      sound.audio = audio;
      data.push_back(std::move(sound));
    }
    data.back().audio_size = 1 << 20;
    testing::SetSoundData(layout, std::move(data));
    return testing::WritePackage(layout).bytes;
  }
};

std::string Describe(const SoundRows& rows, const SoundRow& row) {
  const SoundExport& sound = rows.SoundOf(row);
  std::string text = rows.PackageOf(row).file_name + " " + sound.group + "." + sound.name.text;
  if (!row.no_entry_reason.empty()) text += " (" + row.no_entry_reason + ")";
  if (!row.listing) return text + " broken: " + row.data_problem;
  const AudioFacts& facts = row.listing->facts;
  return text + " " + row.listing->audio.format + " " +
         (facts.seconds ? std::to_string(*facts.seconds) : "-") + " " +
         (facts.rate ? std::to_string(*facts.rate) : "-") + " " +
         (facts.channels ? std::to_string(*facts.channels) : "-");
}

TEST(ReadSoundRows, OneRowPerSoundObjectInThePackagesOrder) {
  BrowsedPackages packages;
  const std::vector<std::string> paths = {packages.fun, packages.two};
  const SoundRows rows = ReadSoundRows(paths);
  std::vector<std::string> described;
  for (const SoundRow& row : rows.rows) described.push_back(Describe(rows, row));
  EXPECT_EQ(described,
            (std::vector<std::string>{
                "Fun.uax Voices.Laugh WAV 0.099955 11025 1",
                "Fun.uax Voices.Laugh1 WAV 0.099955 11025 1",
                "Fun.uax Voices.Tab\tName (a sound name takes only the characters 0x20 to 0x7E) "
                "WAV 0.099955 11025 1",
                "Fun.uax Voices.Laugh2 WAV 0.099955 11025 1",
                "Fun.uax .Hum OGG 0.249977 22050 2",
                "Fun.uax .Gone broken: " + packages.fun +
                    ": Gone: the audio size 1048576 does not match the 4249 bytes left in its data",
                "two.uax .Horn MP3 - - -",
            }));
  EXPECT_EQ(rows.audio_bytes, 4 * packages.laugh.size() + packages.ogg.size() + 15);
  EXPECT_EQ(ReadRowAudio(rows, rows.rows[4]), packages.ogg);
}

TEST(PickRows, KeepsThePickedSoundsInPackageOrderWithTheWholePackagesVariants) {
  BrowsedPackages packages;
  const std::vector<std::string> paths = {packages.fun, packages.two};
  const SoundRows rows = ReadSoundRows(paths);
  PlainLineList list;
  const std::vector<std::size_t> picked = {6, 3, 0, 5};
  const BuildResult result = ExtractPackages(
      list, paths, BuildRoad::kNewList, SoundSource::kSoundObjects, {}, {}, PickRows(rows, picked));
  EXPECT_EQ(list.lines(),
            (std::vector<std::string>{"[QuoomTriggers]", Entry("Laugh", 3, "Fun.uax"),
                                      Entry("Laugh2", 0, "Fun.uax"), Entry("Gone", 0, "Fun.uax"),
                                      Entry("Horn", 0, "two.uax"), ""}));
  EXPECT_EQ(result.appended, 4);
}

}  // namespace
}  // namespace quarrix
