#include "extract/name_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/extract/image_bytes.h"
#include "extract/package_source.h"
#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "support/file_faults.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Bytes;
using testing::Entries;
using testing::ImageWith;
using testing::NameEntryBytes;
using testing::TableImage;
using testing::WalkNames;

const std::string kMarker("\x10\x00\x07\x00", 4);
const std::string kNativeMarker("\x10\x00\x07\x04", 4);
using Names = std::vector<std::string>;

struct FindCase {
  const char* label;
  std::string image;
  std::uint16_t start;
  std::uint16_t expected;
};

TEST(FindNextName, FindsTheLengthByteAfterTheFirstMarkerOfTheWindow) {
  const FindCase cases[] = {
      {"plain marker", ImageWith(400, {{100, kMarker + "\x05"}}), 100, 104},
      {"native marker", ImageWith(400, {{100, kNativeMarker + "\x05"}}), 100, 104},
      {"other flags word", ImageWith(400, {{100, std::string("\x10\x00\x07\x01\x05", 5)}}), 100, 0},
      {"0x04070410 is no marker", ImageWith(400, {{100, std::string("\x10\x04\x07\x04\x05", 5)}}),
       100, 0},
      {"marker then zero", ImageWith(400, {{100, kMarker}}), 100, 0},
      {"last window position", ImageWith(600, {{354, kMarker + "\x05"}}), 100, 358},
      {"just past the window", ImageWith(600, {{355, kMarker + "\x05"}}), 100, 0},
      {"before the start", ImageWith(400, {{99, kMarker + "\x05"}}), 100, 0},
      {"first of two", ImageWith(400, {{120, kMarker + "\x07"}, {110, kMarker + "\x03"}}), 100,
       114},
      {"marker then zero ends though a later one follows",
       ImageWith(400, {{110, kMarker}, {120, kMarker + "\x05"}}), 100, 0},
      {"marker cut by the end", ImageWith(103, {{100, std::string("\x10\x00\x07", 3)}}), 100, 0},
      {"length byte missing", ImageWith(104, {{100, kMarker}}), 100, 0},
      {"window runs past a short image", ImageWith(130, {{120, kMarker + "\x05"}}), 100, 124},
      {"start past the end", ImageWith(50, {}), 100, 0},
      {"empty image", std::string(), 100, 0},
      {"start 0", ImageWith(300, {{0, kMarker + "\x05"}}), 0, 4},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindNextName(Bytes(c.image), c.start), c.expected) << c.label;
  }
}

TEST(FindNextName, AddressesOnlyTheFirst65536Bytes) {
  const FindCase cases[] = {
      {"length byte at 65535", ImageWith(70'000, {{65'531, kMarker + "\x05"}}), 65'500, 65'535},
      {"length byte at 65536", ImageWith(70'000, {{65'532, kMarker + "\x05"}}), 65'500, 0},
      {"marker across 65536", ImageWith(70'000, {{65'534, kMarker + "\x05"}}), 65'500, 0},
      {"marker past 65536", ImageWith(70'000, {{65'600, kMarker + "\x05"}}), 65'500, 0},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindNextName(Bytes(c.image), c.start), c.expected) << c.label;
  }
}

struct ReadCase {
  const char* label;
  std::string image;
  std::uint16_t position;
  std::string name;
  std::uint16_t next;
};

TEST(ReadName, ReadsTheCharactersAnnouncedByTheSignedLength) {
  const std::string long_name(100, 'x');
  const ReadCase cases[] = {
      {"well formed", ImageWith(300, {{200, NameEntryBytes("Laugh")}}), 200, "Laugh", 206},
      {"blank and 0x7F are characters",
       ImageWith(300, {{200,
                        "\x04"
                        "a \x7F"}}),
       200, "a \x7F", 204},
      {"cut before 0x1F",
       ImageWith(300, {{200,
                        "\x06"
                        "ab\x1F"
                        "cd"}}),
       200, "ab", 206},
      {"cut before 0x80",
       ImageWith(300, {{200,
                        "\x06"
                        "ab\x80"
                        "cd"}}),
       200, "ab", 206},
      {"cut before the first byte",
       ImageWith(300, {{200,
                        "\x06\x01"
                        "bcd"}}),
       200, "", 206},
      {"length 2 copies one",
       ImageWith(300, {{200,
                        "\x02"
                        "abc"}}),
       200, "a", 202},
      {"length 1",
       ImageWith(300, {{200,
                        "\x01"
                        "abc"}}),
       200, "", 201},
      {"length 0", ImageWith(300, {{201, "abc"}}), 200, "", 200},
      {"negative length",
       ImageWith(300, {{200,
                        "\xFE"
                        "abc"}}),
       200, "", 198},
      {"negative length wraps below 0",
       ImageWith(300, {{100,
                        "\x80"
                        "abc"}}),
       100, "", static_cast<std::uint16_t>(65'536 + 100 - 128)},
      {"at most 63 characters", ImageWith(300, {{100, "\x65" + long_name}}), 100,
       std::string(63, 'x'), 201},
      {"name cut by the end of the image",
       ImageWith(204, {{200,
                        "\x10"
                        "abc"}}),
       200, "abc", 216},
      {"position past the end reads a zero length", ImageWith(50, {}), 100, "", 100},
  };
  for (const ReadCase& c : cases) {
    const NameRead read = ReadName(Bytes(c.image), c.position);
    EXPECT_EQ(read.name(), c.name) << c.label;
    EXPECT_EQ(read.next, c.next) << c.label;
  }
}

TEST(ReadName, NeverReadsPastOffset65535AndWrapsTheNextPosition) {
  const std::string image = ImageWith(70'000, {{65'500, "\x64" + std::string(200, 'A')}});
  const NameRead read = ReadName(Bytes(image), 65'500);
  EXPECT_EQ(read.name(), std::string(35, 'A'));  // 65501 .. 65535
  EXPECT_EQ(read.next, 64);                      // 65600 in 16 bits
}

TEST(NameWalk, ReadsEveryMarkedNameInFileOrder) {
  EXPECT_EQ(WalkNames(TableImage({"Laugh", "Laugh1", "Cheer"})),
            (Names{"Laugh", "Laugh1", "Cheer"}));
  EXPECT_EQ(WalkNames(ImageWith(400, {{100, kNativeMarker + Entries({"A", "B"}, 0x04070010)}})),
            (Names{"A", "B"}));
}

TEST(NameWalk, StartsAfterTheFirstMarkerAtOrAfterOffset100) {
  // Pkg, Core and Engine end before offset 100; the flags word of None is the first marker.
  const std::string image =
      ImageWith(400, {{68, Entries({"Pkg", "Core", "Engine", "None", "Sound", "Laugh"})}});
  EXPECT_EQ(WalkNames(image), (Names{"Sound", "Laugh"}));
}

TEST(NameWalk, SkipsTheNameAfterAFlagsWordThatIsNoMarker) {
  const std::string within =
      ImageWith(600, {{100, kMarker + NameEntryBytes("A", 0x01070010) + NameEntryBytes("Lost") +
                                NameEntryBytes("B")}});
  EXPECT_EQ(WalkNames(within), (Names{"A", "B"}));

  // The next marker starts 255 bytes after the terminator of A: outside the window.
  const std::string beyond = ImageWith(800, {{100, kMarker + NameEntryBytes("A", 0x01070010)},
                                             {106 + 255, kMarker + "\x02"
                                                                   "B"}});
  EXPECT_EQ(WalkNames(beyond), (Names{"A"}));
  const std::string last = ImageWith(800, {{100, kMarker + NameEntryBytes("A", 0x01070010)},
                                           {106 + 254, kMarker + "\x02"
                                                                 "B"}});
  EXPECT_EQ(WalkNames(last), (Names{"A", "B"}));
}

TEST(NameWalk, EndsQuietly) {
  const std::string garbled_name = ImageWith(400, {{100, kMarker + "\x06"
                                                                   "ab\x80"
                                                                   "cd"}});
  const std::string past_the_end = ImageWith(150, {{140, kMarker + "\x14"
                                                                   "abcde"}});
  const std::string zero_after_marker =
      ImageWith(400, {{100, kMarker + NameEntryBytes("A") + "\0"}});
  EXPECT_EQ(WalkNames(garbled_name), (Names{"ab"}));
  EXPECT_EQ(WalkNames(past_the_end), (Names{"abcde"}));
  EXPECT_EQ(WalkNames(zero_after_marker), (Names{"A"}));
  EXPECT_EQ(WalkNames(TableImage({"A", "B"}).substr(0, 99)), (Names{}));
  EXPECT_EQ(WalkNames(std::string()), (Names{}));
  EXPECT_EQ(WalkNames(std::string(5000, '\x10')), (Names{}));
}

TEST(NameWalk, StopsAtTheLimit) {
  Names many;
  for (int i = 0; i < 1200; ++i) many.push_back("N" + std::to_string(i));
  const Names read = WalkNames(TableImage(many, 20'000));
  ASSERT_EQ(read.size(), 1000u);
  EXPECT_EQ(read.back(), "N999");
  EXPECT_EQ(WalkNames(TableImage(many, 20'000), kFirstSearchPosition, 3),
            (Names{"N0", "N1", "N2"}));
}

TEST(NameWalk, NegativeLengthsRepeatUntilTheLimit) {
  // The length -5 moves the position back to 99, just before the marker: the same empty
  // name is read again and again.
  const std::string image = ImageWith(400, {{100, kMarker + "\xFB"}});
  const Names read = WalkNames(image);
  EXPECT_EQ(read.size(), 1000u);
  EXPECT_EQ(read.front(), "");
  EXPECT_EQ(read.back(), "");
}

TEST(NameWalk, PositionsWrapInto16Bits) {
  // A length of 100 at 65500 moves the search to 64, where a marker announces X.
  const std::string image =
      ImageWith(70'000, {{64, kMarker + NameEntryBytes("X")}, {65'496, kMarker + "\x64"}});
  EXPECT_EQ(WalkNames(image, 65'490, 3), (Names{"", "X"}));
}

struct SoundNameCase {
  std::string name;
  std::string base;
  bool expected;
};

TEST(IsSoundName, RejectsEmptyEngineCoreAndThePackageName) {
  const SoundNameCase cases[] = {
      {"", "FUN", false},        {"Engine", "FUN", false},  {"Core", "FUN", false},
      {"ENGINE", "FUN", true},   {"core", "FUN", true},     {"Engine1", "FUN", true},
      {"Laugh", "LAUGH", false}, {"LAUGH", "LAUGH", false}, {"laugh", "LAUGH", false},
      {"Laugh1", "LAUGH", true}, {"Lau", "LAUGH", true},    {"x", "", true},
      {"", "", false},           {"a b", "A B", false},     {"\x7F", "\x7F", false},
  };
  for (const SoundNameCase& c : cases) {
    EXPECT_EQ(IsSoundName(c.name, c.base), c.expected) << '"' << c.name << "\" vs " << c.base;
  }
}

struct VariantCase {
  const char* label;
  std::string name;
  Names followers;
  int expected;
};

TEST(CountVariants, CountsFollowersThatHoldTheNameWithOneCharacterMore) {
  Names hundred_and_twenty(120, "Go1");
  Names far_variant(100, "Other");
  far_variant.push_back("Go1");
  const VariantCase cases[] = {
      {"Go", "Go", {"Go1", "Go2", "Gone", "Go12"}, 3},
      {"Laugh", "Laugh", {"Laugh1", "Laugh2", "Laugh3"}, 4},
      {"no follower", "Laugh", {"Cheer", "Boo"}, 0},
      {"one variant gives 2", "Laugh", {"Laugh1"}, 2},
      {"case ignored", "laugh", {"LAUGH1", "Laugh"}, 3},
      {"a character before", "Go", {"xGo", "xGo1"}, 2},
      {"the name itself", "Go", {"Go", "GO"}, 3},
      {"shorter names", "Go", {"G", ""}, 0},
      {"rejected names count too", "Engine", {"Engine1", "Core"}, 2},
      {"empty name matches nothing", "", {"", "A"}, 0},
      {"at most 100 followers", "Go", hundred_and_twenty, 101},
      {"the 101st follower is not looked at", "Go", far_variant, 0},
  };
  for (const VariantCase& c : cases) {
    const std::string image = TableImage(c.followers, 8192);
    EXPECT_EQ(CountVariants(Bytes(image), c.name, 100), c.expected) << c.label;
  }
}

TEST(CountVariants, LooksOnlyAtTheNamesAfterTheGivenPosition) {
  const std::string image = TableImage({"Go1", "Go", "Go2"});
  NameWalk walk(Bytes(image), kFirstSearchPosition, 2);
  ASSERT_TRUE(walk.Next());
  ASSERT_TRUE(walk.Next());
  EXPECT_EQ(walk.current().name(), "Go");
  EXPECT_EQ(CountVariants(Bytes(image), "Go", walk.current().next), 2);
}

// Random name tables with markers, other flags words, broken lengths and noise.
std::string RandomImage(std::mt19937& random) {
  static const char* const kWords[] = {"Go", "go1", "GO2", "Gone", "xGo",    "Laugh", "Laugh1",
                                       "",   "A",   "a",   "AB",   "Engine", "Core"};
  std::string image(100 + random() % 60, '\0');
  const int entries = static_cast<int>(random() % 400);
  for (int i = 0; i < entries; ++i) {
    switch (random() % 12) {
      case 0:
        image += static_cast<char>(0x80 + random() % 128);  // a negative length
        break;
      case 1:
        image += static_cast<char>(random() % 256);  // noise
        break;
      case 2:
        image += NameEntryBytes(kWords[random() % 13], 0x04070410);
        break;
      default:
        image += NameEntryBytes(kWords[random() % 13], random() % 2 ? 0x00070010 : 0x04070010);
    }
  }
  return image;
}

TEST(ListWalk, GivesTheNamesAndCountsOfTheLiteralWalk) {
  std::mt19937 random(20040128);
  for (int round = 0; round < 80; ++round) {
    const std::string image = RandomImage(random);
    const ListWalk list(Bytes(image), VariantSearch::kCount);
    const ListWalk plain(Bytes(image), VariantSearch::kSkip);
    NameWalk walk(Bytes(image), kFirstSearchPosition, kListNameLimit);
    int index = 0;
    while (walk.Next()) {
      ASSERT_LT(index, list.size()) << "round " << round;
      EXPECT_EQ(list.name(index), walk.current().name()) << "round " << round;
      EXPECT_EQ(list.variants(index),
                CountVariants(Bytes(image), walk.current().name(), walk.current().next))
          << "round " << round << " name " << index;
      EXPECT_EQ(plain.variants(index), 0);
      ++index;
    }
    EXPECT_EQ(list.size(), index) << "round " << round;
    EXPECT_EQ(plain.size(), index) << "round " << round;
  }
}

TEST(ListWalk, CountsVariantsPastTheThousandthName) {
  Names names(999, "Filler");
  names.push_back("Zed");
  for (int i = 0; i < 150; ++i) names.push_back("Zed" + std::to_string(i % 10));
  const std::string image = TableImage(names, 30'000);
  const ListWalk list(Bytes(image), VariantSearch::kCount);
  ASSERT_EQ(list.size(), 1000);
  EXPECT_EQ(list.name(999), "Zed");
  EXPECT_EQ(list.variants(999), 101);
  EXPECT_EQ(list.variants(0), 101);  // Filler is followed by 100 more
  EXPECT_EQ(list.variants(998), 0);
}

using testing::FaultGuard;

std::string Text(const PackageImage& image) {
  return {reinterpret_cast<const char*>(image.bytes().data()), image.size()};
}

std::string LoadError(const std::string& path) {
  try {
    LoadPackageImage(path);
  } catch (const FileOpenError& error) {
    return error.what();
  }
  return "no error";
}

TEST(LoadPackageImage, ReadsTheWholeOfASmallFile) {
  testing::TempDir dir;
  const std::string bytes = TableImage({"Laugh"}, 300);
  EXPECT_EQ(Text(LoadPackageImage(dir.Write("a.uax", bytes))), bytes);
  EXPECT_EQ(Text(LoadPackageImage(dir.Write("empty.uax", ""))), "");
}

TEST(LoadPackageImage, ReadsOnlyTheFirstMillionBytesOfAHugeSparseFile) {
  testing::TempDir dir;
  const std::string path = dir.File("huge.uax");
  { std::ofstream(path, std::ios::binary) << TableImage({"Laugh"}, 300); }
  std::filesystem::resize_file(path, 5ull << 30);
  const PackageImage image = LoadPackageImage(path);
  EXPECT_EQ(image.size(), kPackageImageLimit);
  EXPECT_EQ(Text(image).substr(0, 300), TableImage({"Laugh"}, 300));
  EXPECT_EQ(Text(image).substr(300), std::string(kPackageImageLimit - 300, '\0'));
}

TEST(LoadPackageImage, ReportsWhatCannotBeRead) {
  testing::TempDir dir;
  const std::string file = dir.Write("plain.uax", "x");
  const std::string faulty = dir.Write("faulty.uax", TableImage({"A"}));
  FaultGuard guard({[&](const std::string& path) { return path == faulty; }, {}});
  const std::pair<std::string, std::string> cases[] = {{dir.File("missing.uax"), ": no such file"},
                                                       {dir.path(), ": it is a folder"},
                                                       {file + "/inside.uax", ": no such file"},
                                                       {faulty, ""}};
  for (const auto& [path, reason] : cases) {
    EXPECT_EQ(LoadError(path), "Cannot open file " + path + reason);
  }
}

}  // namespace
}  // namespace quarrix
