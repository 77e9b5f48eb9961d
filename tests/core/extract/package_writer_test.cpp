#include "support/package_writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "core/extract/image_bytes.h"
#include "support/temp_dir.h"

namespace quarrix::testing {
namespace {

// Reads the writer's output back, independently of the writer's own code.
class Cursor {
 public:
  Cursor(const std::string& bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  std::uint8_t U8() { return static_cast<std::uint8_t>(bytes_.at(at_++)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | U8() << 8); }
  std::uint32_t U32() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{U8()} << shift;
    return value;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  long long Compact() {
    const std::uint8_t first = U8();
    long long magnitude = first & 0x3F;
    if (first & 0x40) {
      int shift = 6;
      for (int i = 1; i < 5; ++i, shift += 7) {
        const std::uint8_t next = U8();
        if (i == 4) {
          magnitude |= static_cast<long long>(next) << shift;
          break;
        }
        magnitude |= static_cast<long long>(next & 0x7F) << shift;
        if (!(next & 0x80)) break;
      }
    }
    return (first & 0x80) ? -magnitude : magnitude;
  }
  std::string Take(std::size_t count) {
    std::string taken = bytes_.substr(at_, count);
    at_ += count;
    return taken;
  }
  std::size_t at() const { return at_; }

 private:
  const std::string& bytes_;
  std::size_t at_;
};

TEST(CompactIndex, EncodesSignAndSixThenSevenBitGroups) {
  const std::pair<std::int32_t, std::string> cases[] = {
      {0, std::string(1, '\0')},
      {1, "\x01"},
      {63, "\x3F"},
      {64, "\x40\x01"},
      {-1, "\x81"},
      {-64, "\xC0\x01"},
      {8191, "\x7F\x7F"},
      {8192, "\x40\x80\x01"},
      {INT_MAX, "\x7F\xFF\xFF\xFF\x0F"},
  };
  for (const auto& [value, bytes] : cases) EXPECT_EQ(CompactIndex(value), bytes) << value;
}

TEST(CompactIndex, RoundTripsThroughAnIndependentDecoder) {
  for (const long long value : {0LL, 5LL, -5LL, 100LL, -100LL, 1LL << 13, (1LL << 20) - 1,
                                1LL << 20, 1LL << 27, -(1LL << 27), 123456789LL, -123456789LL,
                                static_cast<long long>(INT_MAX), static_cast<long long>(INT_MIN)}) {
    const std::string bytes = CompactIndex(static_cast<std::int32_t>(value));
    Cursor cursor(bytes, 0);
    EXPECT_EQ(cursor.Compact(), value);
    EXPECT_EQ(cursor.at(), bytes.size()) << value;
  }
}

PackageSpec TwoNames(std::uint16_t version) {
  PackageSpec layout;
  layout.version = version;
  layout.guid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  layout.AddName(NameEntry::Ansi("None", kTaggedNativeNameFlags));
  layout.AddName(NameEntry::Ansi("Laugh"));
  return layout;
}

TEST(WritePackage, WritesTheUt2004Header) {
  PackageSpec layout = TwoNames(kUt2004Version);
  layout.package_flags = 0x00000401;
  const WrittenPackage written = WritePackage(layout);
  Cursor header(written.bytes, 0);
  EXPECT_EQ(header.U32(), 0x9E2A83C1u);
  EXPECT_EQ(header.U16(), 128);
  EXPECT_EQ(header.U16(), 29);
  EXPECT_EQ(header.U32(), 0x00000401u);
  EXPECT_EQ(header.I32(), 2);    // names
  EXPECT_EQ(header.U32(), 64u);  // name offset
  EXPECT_EQ(header.I32(), 0);    // exports
  EXPECT_EQ(header.U32(), written.export_offset);
  EXPECT_EQ(header.I32(), 0);  // imports
  EXPECT_EQ(header.U32(), written.import_offset);
  EXPECT_EQ(header.Take(16),
            std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"));
  EXPECT_EQ(header.I32(), 1);  // one generation: export and name counts
  EXPECT_EQ(header.I32(), 0);
  EXPECT_EQ(header.I32(), 2);
  EXPECT_EQ(header.at(), written.name_offset);
  EXPECT_EQ(written.bytes.size(), written.export_offset);
}

TEST(WritePackage, WritesChosenGenerations) {
  PackageSpec layout = TwoNames(kUt2004Version);
  layout.generations = std::vector<Generation>{{3, 40}, {5, 60}};
  const WrittenPackage written = WritePackage(layout);
  Cursor generations(written.bytes, 52);
  EXPECT_EQ(generations.I32(), 2);
  EXPECT_EQ(generations.I32(), 3);
  EXPECT_EQ(generations.I32(), 40);
  EXPECT_EQ(generations.I32(), 5);
  EXPECT_EQ(generations.I32(), 60);
  EXPECT_EQ(written.name_offset, 72u);
}

TEST(WritePackage, WritesAnsiAndUtf16Names) {
  PackageSpec layout = TwoNames(kUt2004Version);
  layout.AddName(NameEntry::Utf16(u"L\u00E4cheln", kNativeNameFlags));
  const WrittenPackage written = WritePackage(layout);
  ASSERT_EQ(written.name_entry_offsets.size(), 3u);
  EXPECT_EQ(written.bytes.substr(written.name_entry_offsets[1], 11),
            std::string("\x06Laugh\0\x10\x00\x07\x00", 11));
  Cursor wide(written.bytes, written.name_entry_offsets[2]);
  EXPECT_EQ(wide.Compact(), -8);
  EXPECT_EQ(wide.Take(16), std::string("L\0\xE4\0c\0h\0e\0l\0n\0\0\0", 16));
  EXPECT_EQ(wide.U32(), kNativeNameFlags);
  EXPECT_EQ(wide.at(), written.import_offset);
}

TEST(WritePackage, WritesAHeritageTableBeforeVersion68) {
  PackageSpec layout = TwoNames(65);
  layout.licensee = 0;
  const WrittenPackage written = WritePackage(layout);
  Cursor header(written.bytes, 4);
  EXPECT_EQ(header.U16(), 65);
  EXPECT_EQ(header.U16(), 0);
  Cursor heritage(written.bytes, 36);
  EXPECT_EQ(heritage.I32(), 1);
  EXPECT_EQ(heritage.U32(), 44u);
  EXPECT_EQ(written.heritage_offset, 44u);
  EXPECT_EQ(heritage.Take(16), std::string(layout.guid.begin(), layout.guid.end()));
  EXPECT_EQ(written.name_offset, 60u);
  EXPECT_EQ(written.bytes.substr(60, 10), std::string("\x05None\0\x10\x04\x07\x04", 10));
}

TEST(WritePackage, WritesZeroTerminatedNamesBeforeVersion64) {
  const WrittenPackage written = WritePackage(TwoNames(61));
  EXPECT_EQ(written.bytes.substr(written.name_offset, 19),
            std::string("None\0\x10\x04\x07\x04Laugh\0\x10\x00\x07\x00", 19));
  PackageSpec wide = TwoNames(61);
  wide.AddName(NameEntry::Utf16(u"X"));
  EXPECT_THROW(WritePackage(wide), std::invalid_argument);
}

TEST(WritePackage, RefusesNameIndexesOutsideTheTable) {
  PackageSpec layout = TwoNames(kUt2004Version);
  layout.imports.push_back({0, 1, 0, 2});
  EXPECT_THROW(WritePackage(layout), std::invalid_argument);
}

TEST(MakeSoundPackage, WritesTheTablesOfSoundsInGroups) {
  const PackageSpec layout =
      MakeSoundPackage("Fun", {{"Voices", {"Laugh", "Boo"}}, {"", {"Horn"}}});
  std::vector<std::pair<std::string, std::uint32_t>> names;
  for (const NameEntry& name : layout.names) names.emplace_back(name.ansi, name.flags);
  EXPECT_EQ(names, (std::vector<std::pair<std::string, std::uint32_t>>{{"None", 0x04070410},
                                                                       {"Core", 0x04070010},
                                                                       {"Engine", 0x04070010},
                                                                       {"Package", 0x04070410},
                                                                       {"Class", 0x04070410},
                                                                       {"Sound", 0x04070010},
                                                                       {"WAV", 0x00070010},
                                                                       {"Fun", 0x00070010},
                                                                       {"Voices", 0x00070010},
                                                                       {"Laugh", 0x00070010},
                                                                       {"Boo", 0x00070010},
                                                                       {"Horn", 0x00070010}}));

  const WrittenPackage written = WritePackage(layout);
  Cursor imports(written.bytes, written.import_offset);
  const long long expected_imports[4][4] = {
      {1, 3, 0, 2}, {1, 4, -1, 5}, {1, 3, 0, 1}, {1, 4, -3, 3}};
  for (const auto& expected : expected_imports) {
    EXPECT_EQ(imports.Compact(), expected[0]);
    EXPECT_EQ(imports.Compact(), expected[1]);
    EXPECT_EQ(imports.I32(), expected[2]);
    EXPECT_EQ(imports.Compact(), expected[3]);
  }
  EXPECT_EQ(imports.at(), written.serial_offsets[0]);

  Cursor exports(written.bytes, written.export_offset);
  // class, super, outer, name, flags: the group, two sounds in it, one at the top level.
  const long long expected_exports[4][5] = {{-4, 0, 0, 8, 0x00070004},
                                            {-2, 0, 1, 9, 0x00070004},
                                            {-2, 0, 1, 10, 0x00070004},
                                            {-2, 0, 0, 11, 0x00070004}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(exports.Compact(), expected_exports[i][0]);
    EXPECT_EQ(exports.Compact(), expected_exports[i][1]);
    EXPECT_EQ(exports.I32(), expected_exports[i][2]);
    EXPECT_EQ(exports.Compact(), expected_exports[i][3]);
    EXPECT_EQ(static_cast<long long>(exports.U32()), expected_exports[i][4]);
    EXPECT_EQ(exports.Compact(), static_cast<long long>(written.serial_sizes[i]));
    EXPECT_EQ(exports.Compact(), static_cast<long long>(written.serial_offsets[i]));
  }
  EXPECT_EQ(exports.at(), written.bytes.size());

  EXPECT_EQ(written.bytes.substr(written.serial_offsets[0], written.serial_sizes[0]),
            std::string(1, '\0'));  // a group holds only the end of its properties
  Cursor sound(written.bytes, written.serial_offsets[1]);
  EXPECT_EQ(sound.Compact(), 0);        // None: no properties
  EXPECT_EQ(sound.Compact(), 6);        // WAV
  EXPECT_EQ(sound.U32(), 0x3F800000u);  // 1.0, held by UT2004 sounds
  EXPECT_EQ(sound.U32(), written.serial_offsets[1] + written.serial_sizes[1]);
  const long long samples = sound.Compact();
  EXPECT_EQ(sound.Take(4), "RIFF");
  EXPECT_EQ(sound.at() - 4 + static_cast<std::size_t>(samples),
            written.serial_offsets[1] + written.serial_sizes[1]);
}

TEST(PropertyBytes, TagsAsTheEngineWritesThem) {
  Property big_index = Property::Int(7, 1);
  big_index.array_index = 300;
  Property huge_index = Property::Int(7, 1);
  huge_index.array_index = 0x12345;
  Property wide_size = Property::Array(7, std::string(300, 'a'));
  Property forced_size = Property::Float(7, 1.0f);
  forced_size.size_bytes = 4;
  const std::pair<Property, std::string> cases[] = {
      {Property::Float(7, 1.0f), std::string("\x07\x24\x00\x00\x80\x3F", 6)},
      {Property::Int(7, -2), std::string("\x07\x22\xFE\xFF\xFF\xFF", 6)},
      // A bool's value is its bit 7; its size, 0, takes a size byte.
      {Property::Bool(7, true), std::string("\x07\xD3\x00", 3)},
      {Property::Bool(7, false), std::string("\x07\x53\x00", 3)},
      {Property::Name(7, 5), std::string("\x07\x06\x05", 3)},
      {Property::Struct(7, 9, std::string(12, 'v')), "\x07\x3A\x09" + std::string(12, 'v')},
      {Property::Array(7, "abc"),
       "\x07\x59\x03"
       "abc"},
      {big_index, std::string("\x07\xA2\x81\x2C\x01\x00\x00\x00", 8)},
      {huge_index, std::string("\x07\xA2\xC0\x01\x23\x45\x01\x00\x00\x00", 10)},
      {wide_size, "\x07\x69\x2C\x01" + std::string(300, 'a')},
      {forced_size, std::string("\x07\x74\x04\x00\x00\x00\x00\x00\x80\x3F", 10)},
  };
  for (const auto& [property, bytes] : cases) EXPECT_EQ(PropertyBytes(property), bytes);
}

TEST(MakeSoundPackage, TheWalkReadsFromTheNameAfterSound) {
  const WrittenPackage written =
      WritePackage(MakeSoundPackage("Fun", {{"Voices", {"Laugh", "Laugh1"}}}));
  // The byte after the last name's marker opens the import table (the name index 1 of
  // Core): the walk reads it as a length of 1, an empty name, and then finds no marker.
  EXPECT_EQ(WalkNames(written.bytes),
            (std::vector<std::string>{"WAV", "Fun", "Voices", "Laugh", "Laugh1", ""}));
}

TEST(DemoSample, RegeneratingGivesTheCheckedInBytes) {
  EXPECT_EQ(WritePackage(MakeDemoPackage()).bytes, Slurp(QUARRIX_SOURCE_DIR "/samples/Demo.uax"));
}

}  // namespace
}  // namespace quarrix::testing
