#include "extract/sound_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

#include "core/extract/image_bytes.h"
#include "extract/package_source.h"
#include "support/error_of.h"
#include "support/hand_made_package.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Bytes;
using testing::PackageSpec;
using testing::Property;
using testing::SoundData;
using testing::WritePackage;
using testing::WrittenPackage;

std::string TinyOgg() { return testing::Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg"); }

// A package whose one sound, Laugh in the group Voices, holds `data`.
PackageSpec OneSound(SoundData data, std::uint16_t version = 128, std::uint16_t licensee = 29) {
  PackageSpec layout = testing::MakeSoundPackage("Bad", {{"Voices", {"Laugh"}}});
  layout.version = version;
  layout.licensee = licensee;
  testing::SetSoundData(layout, {std::move(data)});
  return layout;
}

SoundData WaveData(PackageSpec& layout, std::vector<Property> properties = {}) {
  SoundData data;
  data.format_name = layout.NameIndex("WAV");
  data.audio = testing::MakeWave({});
  data.properties = std::move(properties);
  return data;
}

// A package held in memory with its tables and sounds, as the CLI reads one from a file.
struct Loaded {
  explicit Loaded(std::string package_bytes)
      : bytes(std::move(package_bytes)),
        tables(ParsePackageTables(Bytes(bytes), "Bad.uax")),
        sounds(FindSoundExports(tables)),
        source(Bytes(bytes)) {}
  std::string bytes;
  PackageTables tables;
  std::vector<SoundExport> sounds;
  PackageMemoryBytes source;
};

// The audio of the only sound: where the writer put it, by its own bookkeeping.
SoundAudio WrittenAudio(const WrittenPackage& written, const std::string& format,
                        std::size_t audio_size) {
  const std::size_t sound = written.serial_offsets.size() - 1;
  return {format, AudioFormatOf(format),
          written.serial_offsets[sound] + written.serial_sizes[sound] - audio_size,
          static_cast<std::uint32_t>(audio_size)};
}

TEST(SoundReader, FindsTheAudioInEveryLayout) {
  // The float follows the format in UT2003 and UT2004 packages only; the end offset is there
  // from version 62 on.
  const std::tuple<std::uint16_t, std::uint16_t, const char*> layouts[] = {
      {128, 29, "UT2004"},       {121, 29, "UT2004, early"}, {119, 25, "UT2003"},
      {120, 28, "UT2003, late"}, {120, 29, "no float"},      {128, 30, "no float"},
      {129, 29, "no float"},     {116, 26, "no float"},      {65, 0, "end offset"},
      {62, 0, "end offset"},     {61, 0, "no end offset"},   {60, 0, "no end offset"},
  };
  for (const auto& [version, licensee, what] : layouts) {
    SCOPED_TRACE(std::to_string(version) + "/" + std::to_string(licensee) + ": " + what);
    PackageSpec layout = OneSound({}, version, licensee);
    testing::SetSoundData(layout, {WaveData(layout, testing::SoundProperties(layout))});
    const WrittenPackage written = WritePackage(layout);
    Loaded loaded(written.bytes);
    const std::string wave = testing::MakeWave({});
    const SoundAudio audio = LocateSoundAudio(loaded.source, loaded.tables, loaded.sounds[0]);
    EXPECT_EQ(audio, WrittenAudio(written, "WAV", wave.size()));
    EXPECT_EQ(ReadSoundAudio(loaded.source, loaded.tables, loaded.sounds[0], audio), wave);
    EXPECT_EQ(DescribeSound(loaded.source, loaded.tables, loaded.sounds[0]).audio, audio);
  }
}

TEST(SoundReader, SkipsEveryPropertyByItsSize) {
  const auto with = [](Property property, auto change) {
    change(property);
    return property;
  };
  const auto none = [](Property&) {};
  // Names 90 and up are added to the package below.
  const std::pair<Property, const char*> cases[] = {
      {Property::Float(90, 0.5f), "float, size code 4"},
      {Property::Int(90, 7), "int"},
      {Property::Bool(90, true), "bool, value in the tag"},
      {with(Property::Bool(90, false), [](Property& p) { p.size = 4; }), "bool sized 4, no value"},
      {Property::Name(90, 91), "name"},
      {Property::Struct(90, 91, std::string(12, 'v')), "struct, size code 12"},
      {Property::Struct(90, 91, std::string(16, 'v')), "struct, size code 16"},
      {Property::Struct(90, 91, std::string(7, 'v')), "struct, 1-byte size"},
      {Property::Array(90, std::string(300, 'a')), "array, 2-byte size"},
      {Property::Array(90, std::string(70000, 'a')), "array, 4-byte size"},
      {with(Property::Int(90, 1), [](Property& p) { p.size_bytes = 4; }), "int, 4-byte size"},
      {with(Property::Int(90, 1), [](Property& p) { p.array_index = 5; }), "1-byte index"},
      {with(Property::Int(90, 1), [](Property& p) { p.array_index = 9000; }), "2-byte index"},
      {with(Property::Int(90, 1), [](Property& p) { p.array_index = 70000; }), "4-byte index"},
      {with(Property::Array(90, ""), none), "empty value, 1-byte size"},
      {with(Property::Float(90, 1), [](Property& p) { p.type = 0; }), "unknown type 0"},
      {with(Property::Float(90, 1), [](Property& p) { p.type = 15; }), "unknown type 15"},
  };
  for (const auto& [property, what] : cases) {
    SCOPED_TRACE(what);
    PackageSpec layout = OneSound({});
    while (layout.names.size() < 92) layout.NameIndex("Name" + std::to_string(layout.names.size()));
    testing::SetSoundData(layout, {WaveData(layout, {property, Property::Int(90, 2)})});
    const WrittenPackage written = WritePackage(layout);
    Loaded loaded(written.bytes);
    EXPECT_EQ(LocateSoundAudio(loaded.source, loaded.tables, loaded.sounds[0]),
              WrittenAudio(written, "WAV", testing::MakeWave({}).size()));
  }
}

TEST(SoundReader, ReadsASoundWrittenByHand) {
  ASSERT_EQ(testing::kHandMadePackage.size(), 326u);
  Loaded loaded(testing::kHandMadePackage);
  ASSERT_EQ(loaded.sounds.size(), 1u);
  EXPECT_EQ(loaded.sounds[0].name.text, "Beep");
  const SoundListing listing = DescribeSound(loaded.source, loaded.tables, loaded.sounds[0]);
  EXPECT_EQ(listing.audio, (SoundAudio{"WAV", AudioFormat::kWav, testing::kHandMadeAudioAt,
                                       testing::kHandMadeAudioSize}));
  EXPECT_EQ(listing.facts, (AudioFacts{8000, 1, 8, 0.0005}));
  EXPECT_EQ(
      ReadSoundAudio(loaded.source, loaded.tables, loaded.sounds[0], listing.audio),
      testing::kHandMadePackage.substr(testing::kHandMadeAudioAt, testing::kHandMadeAudioSize));
}

// The error a sound whose data is built by `make` gives, read by `read`.
using Reader = std::function<void(Loaded&)>;
const Reader kLocate = [](Loaded& loaded) {
  LocateSoundAudio(loaded.source, loaded.tables, loaded.sounds[0]);
};
const Reader kDescribe = [](Loaded& loaded) {
  DescribeSound(loaded.source, loaded.tables, loaded.sounds[0]);
};

TEST(SoundReader, EveryInconsistencyIsAnErrorNamingTheSound) {
  struct Case {
    const char* what;
    std::function<std::variant<std::string, SoundData>(PackageSpec&)> make;
    std::string problem;
    bool header = true;  // a header problem: locating finds it too
  };
  const auto sound = [](auto change) {
    return [change](PackageSpec& layout) -> std::variant<std::string, SoundData> {
      SoundData data = WaveData(layout);
      change(layout, data);
      return data;
    };
  };
  const auto bytes = [](std::string raw_bytes) {
    return [raw_bytes](PackageSpec&) -> std::variant<std::string, SoundData> { return raw_bytes; };
  };
  // The package has 9 names before any test adds one: None Core Engine Package Class Sound WAV
  // Bad Voices Laugh (10).
  const Case cases[] = {
      {"no data", bytes(""), "it has no data"},
      {"a tag name out of range", bytes("\x3F"),
       "the property list refers to the name 63, but the package has 10 names"},
      {"a tag cut short", bytes("\x40"), "a property tag runs past the end of its data"},
      {"an overlong tag", bytes(std::string("\x40\x00", 2)),
       "a property tag holds an overlong compact index"},
      {"no info byte", bytes("\x09"), "the property Laugh runs past the end of its data"},
      {"a size cut short", bytes("\x09\x52"), "the property Laugh runs past the end of its data"},
      {"a value past the end", bytes("\x09\x22\x01\x02"),
       "the property Laugh runs past the end of its data"},
      {"an array index cut short", bytes("\x09\xA2\xC0\x01"),
       "the property Laugh runs past the end of its data"},
      {"a negative size", bytes(std::string("\x09\x72\xFF\xFF\xFF\xFF", 6)),
       "the property Laugh has the negative size -1"},
      {"a struct name out of range", bytes("\x09\x3A\x10"),
       "the property Laugh refers to the name 16, but the package has 10 names"},
      {"no None", bytes(std::string("\x09\x22\x01\x00\x00\x00", 6)),
       "a property tag runs past the end of its data"},
      {"no format", bytes(std::string("\x00", 1)), "the format runs past the end of its data"},
      {"a format that is no name", bytes(std::string("\x00\x4A\x01", 3)),
       "the format refers to the name 74, but the package has 10 names"},
      {"no float", bytes(std::string("\x00\x06", 2)),
       "the float after the format runs past the end of its data"},
      {"no end offset", bytes(std::string("\x00\x06\x00\x00\x80\x3F\x01", 7)),
       "the end offset runs past the end of its data"},
      {"a wrong end offset", sound([](PackageSpec&, SoundData& data) { data.end_offset = 5; }),
       "the end offset 5 does not match the end of its data ({end})"},
      {"an audio size too large",
       sound([](PackageSpec&, SoundData& data) { data.audio_size = 77; }),
       "the audio size 77 does not match the 76 bytes left in its data"},
      {"an audio size too small",
       sound([](PackageSpec&, SoundData& data) { data.audio_size = 75; }),
       "the audio size 75 does not match the 76 bytes left in its data"},
      {"a negative audio size", sound([](PackageSpec&, SoundData& data) { data.audio_size = -76; }),
       "the audio size -76 does not match the 76 bytes left in its data"},
      {"WAV data without RIFF",
       sound([](PackageSpec&, SoundData& data) { data.audio = "RIFX" + data.audio.substr(4); }),
       "its WAV data is no RIFF WAVE file", false},
      {"Ogg data without Vorbis", sound([](PackageSpec& layout, SoundData& data) {
         data.format_name = layout.NameIndex("OGG");
       }),
       "its OGG data is no Ogg Vorbis stream", false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    PackageSpec layout = OneSound({});
    const auto data = test.make(layout);
    for (testing::ExportEntry& entry : layout.exports) {
      if (std::holds_alternative<SoundData>(entry.data)) entry.data = data;
    }
    const WrittenPackage written = WritePackage(layout);
    Loaded loaded(written.bytes);
    std::string expected = "Bad.uax: Laugh: " + test.problem;
    if (const std::size_t end = expected.find("{end}"); end != std::string::npos) {
      expected.replace(end, 5, std::to_string(written.serial_offsets[1] + written.serial_sizes[1]));
    }
    EXPECT_EQ(testing::ErrorOf<SoundDataError>([&] { kDescribe(loaded); }), expected);
    if (test.header) {
      EXPECT_EQ(testing::ErrorOf<SoundDataError>([&] { kLocate(loaded); }), expected);
    }
  }
}

TEST(SoundReader, AFileThatShrankIsAnErrorNotAShortSound) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows keeps writers out of a package while it is read";
#endif
  testing::TempDir dir;
  PackageSpec layout = OneSound({});
  testing::SetSoundData(layout, {WaveData(layout)});
  const WrittenPackage written = WritePackage(layout);
  const std::string path = dir.Write("Bad.uax", written.bytes);
  const PackageTables tables = ReadPackageTables(path);
  const SoundExport sound = FindSoundExports(tables)[0];
  const std::string begin = std::to_string(written.serial_offsets[1]);
  const std::string size = std::to_string(written.serial_sizes[1]);
  const auto error_of = [&](const std::function<void()>& read) -> std::string {
    try {
      read();
    } catch (const SoundDataError& error) {
      return error.what();
    }
    return "no error";
  };

  // Opened before the file was cut: the reads come back short. Opened after: the data's
  // range lies outside the file.
  PackageFileBytes before(path);
  const SoundAudio audio = LocateSoundAudio(before, tables, sound);
  std::filesystem::resize_file(path, audio.offset + 10);
  EXPECT_EQ(error_of([&] { ReadSoundAudio(before, tables, sound, audio); }),
            path + ": Laugh: the file ends before its data does");
  std::filesystem::resize_file(path, written.serial_offsets[1] + 2);
  EXPECT_EQ(error_of([&] { LocateSoundAudio(before, tables, sound); }),
            path + ": Laugh: the file ends before its data does");
  PackageFileBytes after(path);
  EXPECT_EQ(error_of([&] { DescribeSound(after, tables, sound); }),
            path + ": Laugh: its data (offset " + begin + ", size " + size +
                ") lies outside the file (" + std::to_string(written.serial_offsets[1] + 2) +
                " bytes)");
}

// The reads of a file made while the object lives.
class ReadLog {
 public:
  ReadLog() {
    SetFileReadObserverForTesting(
        [this](const std::string&, std::uint64_t offset, std::size_t length) {
          reads.emplace_back(offset, length);
        });
  }
  ~ReadLog() { SetFileReadObserverForTesting({}); }
  std::vector<std::pair<std::uint64_t, std::size_t>> reads;
};

TEST(SoundReader, ReadsOnlyWhatItNeedsOfALargeSound) {
  testing::TempDir dir;
  PackageSpec layout = testing::MakeSoundPackage("Big", {{"", {"Wave", "Vorbis"}}});
  SoundData wave = WaveData(layout);
  wave.audio = testing::MakeWave({44100, 2, 16, 250000, 0, ""});
  // Ogg pages with a megabyte of other bytes between the headers and the last page.
  const std::string ogg = TinyOgg();
  SoundData vorbis;
  vorbis.format_name = layout.NameIndex("OGG");
  vorbis.audio = ogg.substr(0, 3710) + std::string(1 << 20, 'x') + ogg.substr(3710);
  testing::SetSoundData(layout, {wave, vorbis});
  const WrittenPackage written = WritePackage(layout);
  const std::string path = dir.Write("Big.uax", written.bytes);
  const PackageTables tables = ReadPackageTables(path);
  const std::vector<SoundExport> sounds = FindSoundExports(tables);
  PackageFileBytes bytes(path);
  const std::uint64_t wave_at = written.serial_offsets[0];
  const std::uint64_t vorbis_at = written.serial_offsets[1];
  const std::uint64_t vorbis_end = vorbis_at + written.serial_sizes[1];
  using Reads = std::vector<std::pair<std::uint64_t, std::size_t>>;
  {
    ReadLog log;
    EXPECT_EQ(DescribeSound(bytes, tables, sounds[0]).facts,
              (AudioFacts{44100, 2, 16, 250000.0 / 44100}));
    EXPECT_EQ(log.reads, (Reads{{wave_at, 65536}}));
  }
  {
    ReadLog log;
    EXPECT_EQ(DescribeSound(bytes, tables, sounds[1]).facts,
              (AudioFacts{22050, 2, {}, 5512.0 / 22050}));
    EXPECT_EQ(log.reads, (Reads{{vorbis_at, 65536}, {vorbis_end - 65536, 65536}}));
  }
  {
    ReadLog log;
    const SoundAudio audio = LocateSoundAudio(bytes, tables, sounds[1]);
    EXPECT_EQ(ReadSoundAudio(bytes, tables, sounds[1], audio), vorbis.audio);
    EXPECT_EQ(log.reads, (Reads{{vorbis_at, 4096}, {audio.offset, vorbis.audio.size()}}));
  }
}

}  // namespace
}  // namespace quarrix
