// Both package readers on the package written by hand in hex (support/hand_made_package.*),
// with every expected value read off its bytes by hand: a misreading that the package writer
// and a reader share cannot pass here. The sound reader reads it in sound_reader_test.cpp.
#include <gtest/gtest.h>

#include <array>

#include "core/extract/image_bytes.h"
#include "editor/line_list.h"
#include "extract/name_walk.h"
#include "extract/package_tables.h"
#include "extract/sound_selection.h"
#include "extract/trigger_list.h"
#include "support/hand_made_package.h"
#include "support/trigger_entries.h"

namespace quarrix {
namespace {

using testing::Bytes;
using testing::kHandMadePackage;

constexpr std::uint32_t kFlags = 0x00070010;

TEST(HandMadePackage, TheTableReaderReadsItsHeaderAndTables) {
  ASSERT_EQ(kHandMadePackage.size(), 326u);
  const PackageTables tables = ParsePackageTables(Bytes(kHandMadePackage), "Hand.uax");
  const PackageHeader& header = tables.header;
  EXPECT_EQ(header.version, 128);
  EXPECT_EQ(header.licensee, 29);
  EXPECT_EQ(header.package_flags, 1u);
  EXPECT_EQ(header.name_count, 13);
  EXPECT_EQ(header.name_offset, 64u);
  EXPECT_EQ(header.export_count, 1);
  EXPECT_EQ(header.export_offset, 311u);
  EXPECT_EQ(header.import_count, 2);
  EXPECT_EQ(header.import_offset, 215u);
  EXPECT_EQ(header.guid, (std::array<std::uint8_t, 16>{}));
  EXPECT_EQ(header.generations, (std::vector<PackageGeneration>{{1, 13}}));
  EXPECT_EQ(header.size, 64u);  // 36 fixed bytes, the GUID, the count and one generation

  std::vector<PackageName> names;
  for (const char* text : {"None", "Core", "Engine", "Package", "Class", "Sound", "WAV", "Hand",
                           "BaseRadius", "Beep", "Looping", "Vector", "Location"}) {
    names.push_back({text, false, kFlags});
  }
  EXPECT_EQ(tables.names, names);
  // Core.Package Engine, then Core.Class Sound whose outer is the import Engine (-1).
  EXPECT_EQ(tables.imports, (std::vector<PackageImport>{{1, 3, 0, 2}, {1, 4, -1, 5}}));
  // Class -2 (the import Sound), no super, no outer, name 9 (Beep), 82 bytes at 229.
  EXPECT_EQ(tables.exports, (std::vector<PackageExport>{{-2, 0, 0, 9, 0x00070004, 82, 229}}));

  const std::vector<SoundExport> sounds = FindSoundExports(tables);
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].export_index, 0);
  EXPECT_EQ(sounds[0].name, (PackageName{"Beep", false, kFlags}));
  EXPECT_EQ(sounds[0].group, "");
  const TriggerSounds selected = SelectTriggerSounds(sounds, VariantSearch::kCount);
  ASSERT_EQ(selected.sounds.size(), 1u);
  EXPECT_EQ(selected.sounds[0].name, "Beep");
  EXPECT_EQ(selected.sounds[0].variants, 0);
  EXPECT_TRUE(selected.skipped.empty());
}

TEST(HandMadePackage, TheNameWalkReadsTheNamesAfterPosition100) {
  // The first marker from 100 is Package's flags (105..108), so the walk starts at Class.
  // Location's flags (211..214) are followed by the first import, whose byte 0x01 is read
  // as a length: an empty name. No marker follows in the rest of the file.
  std::vector<std::string> walked;
  NameWalk walk(Bytes(kHandMadePackage), kFirstSearchPosition, kListNameLimit);
  while (walk.Next()) walked.emplace_back(walk.current().name());
  EXPECT_EQ(walked, (std::vector<std::string>{"Class", "Sound", "WAV", "Hand", "BaseRadius", "Beep",
                                              "Looping", "Vector", "Location", ""}));

  // Get Quooms on it as Hand.uax: the package's own name and the empty name are left out,
  // and no name has a variant.
  PlainLineList list;
  const BuildResult result =
      BuildTriggerList(list, Bytes(kHandMadePackage), BuildRoad::kNewList, {}, "Hand.uax");
  std::vector<std::string> expected = {"[QuoomTriggers]"};
  for (const char* sound :
       {"Class", "Sound", "WAV", "BaseRadius", "Beep", "Looping", "Vector", "Location"}) {
    expected.push_back(testing::Entry(sound, 0, "Hand.uax"));
  }
  expected.emplace_back();
  EXPECT_EQ(list.lines(), expected);
  EXPECT_EQ(result.success, true);
  EXPECT_EQ(result.appended, 8);
}

}  // namespace
}  // namespace quarrix
