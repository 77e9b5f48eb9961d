#include "extract/package_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <utility>

#include "core/extract/image_bytes.h"
#include "editor/line_list.h"
#include "extract/package_source.h"
#include "extract/sound_selection.h"
#include "runtime/file_io.h"
#include "support/package_writer.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

using testing::Bytes;
using testing::CompactIndex;
using testing::NameEntry;
using testing::PackageSpec;
using testing::WritePackage;
using testing::WrittenPackage;
using Names = std::vector<std::string>;

// Groups at two levels, a sound at the top level, and sounds named like engine names and like
// the package itself: the tables, not the names, tell what a sound is.
PackageSpec FunSpec(std::uint16_t version) {
  PackageSpec layout = testing::MakeSoundPackage("Fun", {{"Voices", {"Laugh", "Laugh1", "Engine"}},
                                                         {"Voices.Sub", {"Sound", "Laugh2"}},
                                                         {"", {"Fun"}},
                                                         {"Effects", {"Horn", "Core"}}});
  layout.version = version;
  return layout;
}

const std::vector<std::pair<std::string, std::string>> kFunSounds = {
    {"Laugh", "Voices"},      {"Laugh1", "Voices"}, {"Engine", "Voices"}, {"Sound", "Voices.Sub"},
    {"Laugh2", "Voices.Sub"}, {"Fun", ""},          {"Horn", "Effects"},  {"Core", "Effects"}};

std::vector<std::pair<std::string, std::string>> NamesAndGroups(
    const std::vector<SoundExport>& sounds) {
  std::vector<std::pair<std::string, std::string>> found;
  for (const SoundExport& sound : sounds) found.emplace_back(sound.name.text, sound.group);
  return found;
}

// What the reader should give for the writer's input (8-bit names only).
std::vector<PackageName> ExpectedNames(const PackageSpec& layout) {
  std::vector<PackageName> names;
  for (const NameEntry& name : layout.names) names.push_back({name.ansi, false, name.flags});
  return names;
}

std::vector<PackageImport> ExpectedImports(const PackageSpec& layout) {
  std::vector<PackageImport> imports;
  for (const testing::ImportEntry& entry : layout.imports) {
    imports.push_back({entry.class_package, entry.class_name, entry.outer, entry.object_name});
  }
  return imports;
}

std::vector<PackageExport> ExpectedExports(const PackageSpec& layout,
                                           const WrittenPackage& written) {
  std::vector<PackageExport> exports;
  for (std::size_t i = 0; i < layout.exports.size(); ++i) {
    const testing::ExportEntry& entry = layout.exports[i];
    exports.push_back({entry.class_ref, entry.super_ref, entry.outer, entry.object_name,
                       entry.object_flags, static_cast<std::int32_t>(written.serial_sizes[i]),
                       static_cast<std::int32_t>(written.serial_offsets[i])});
  }
  return exports;
}

TEST(PackageTables, ReadsWhatTheWriterWroteInEveryLayout) {
  testing::TempDir dir;
  // 61: zero-terminated names and a heritage table; 65: compact name lengths and a heritage
  // table; 128: compact name lengths, a GUID and generations.
  for (const std::uint16_t version : {61, 65, 128}) {
    SCOPED_TRACE(version);
    const PackageSpec layout = FunSpec(version);
    const WrittenPackage written = WritePackage(layout);
    const PackageTables tables = ParsePackageTables(Bytes(written.bytes), "Fun.uax");
    const PackageHeader& header = tables.header;
    EXPECT_EQ(header.version, version);
    EXPECT_EQ(header.licensee, testing::kUt2004Licensee);
    EXPECT_EQ(header.package_flags, testing::kAllowDownload);
    EXPECT_EQ(header.name_count, static_cast<std::int32_t>(layout.names.size()));
    EXPECT_EQ(header.name_offset, written.name_offset);
    EXPECT_EQ(header.import_count, static_cast<std::int32_t>(layout.imports.size()));
    EXPECT_EQ(header.import_offset, written.import_offset);
    EXPECT_EQ(header.export_count, static_cast<std::int32_t>(layout.exports.size()));
    EXPECT_EQ(header.export_offset, written.export_offset);
    if (version >= 68) {
      EXPECT_EQ(header.guid, layout.guid);
      EXPECT_EQ(header.generations,
                (std::vector<PackageGeneration>{{header.export_count, header.name_count}}));
      EXPECT_EQ(header.size, 64u);
    } else {
      EXPECT_EQ(header.heritage_count, 1);
      EXPECT_EQ(header.heritage_offset, written.heritage_offset);
      EXPECT_EQ(header.size, 44u);
    }
    EXPECT_EQ(tables.file_size, written.bytes.size());
    EXPECT_EQ(tables.names, ExpectedNames(layout));
    EXPECT_EQ(tables.imports, ExpectedImports(layout));
    EXPECT_EQ(tables.exports, ExpectedExports(layout, written));
    EXPECT_EQ(NamesAndGroups(FindSoundExports(tables)), kFunSounds);

    const PackageTables from_file = ReadPackageTables(dir.Write("Fun.uax", written.bytes));
    EXPECT_EQ(from_file.names, tables.names);
    EXPECT_EQ(from_file.imports, tables.imports);
    EXPECT_EQ(from_file.exports, tables.exports);
  }
}

// Adds a sound export named `name` to the first group of a MakeSoundPackage layout.
void AddSound(PackageSpec& layout, NameEntry name) {
  testing::ExportEntry sound;
  sound.class_ref = testing::ImportRef(1);
  sound.outer = testing::ExportRef(0);
  sound.object_name = layout.AddName(std::move(name));
  sound.data = std::string("raw");
  layout.exports.push_back(std::move(sound));
}

TEST(PackageTables, Utf16NamesBecomeUtf8AndOnlyPrintableAsciiNamesAreSoundNames) {
  for (const std::uint16_t version : {65, 128}) {
    SCOPED_TRACE(version);
    PackageSpec layout = testing::MakeSoundPackage("Wide", {{"Voices", {"Laugh"}}});
    layout.version = version;
    AddSound(layout, NameEntry::Utf16(u"Laugh1"));
    AddSound(layout, NameEntry::Utf16(u"Caf\u00E9"));
    AddSound(layout, NameEntry::Utf16(u"\U0001F600"));
    AddSound(layout, NameEntry::Utf16(std::u16string{char16_t{0xD800}, u'x'}));
    AddSound(layout, NameEntry::Ansi("Caf\xE9"));
    AddSound(layout, NameEntry::Ansi("Tab\tName"));
    AddSound(layout, NameEntry::Ansi(""));
    AddSound(layout, NameEntry::Ansi("Del\x7F"));
    AddSound(layout, NameEntry::Ansi("Tilde~ \"quoted\""));
    AddSound(layout, NameEntry::Ansi(" !#$%&'()*+-./:;<=>?@[\\]^_`{|}~"));
    const PackageTables tables = ParsePackageTables(Bytes(WritePackage(layout).bytes), "Wide.uax");
    const std::vector<SoundExport> exports = FindSoundExports(tables);
    ASSERT_EQ(exports.size(), 11u);
    EXPECT_EQ(exports[1].name, (PackageName{"Laugh1", true, testing::kNameFlags}));
    EXPECT_EQ(exports[2].name, (PackageName{"Caf\xC3\xA9", true, testing::kNameFlags}));
    EXPECT_EQ(exports[3].name.text, "\xF0\x9F\x98\x80");
    EXPECT_EQ(exports[4].name.text, "\xEF\xBF\xBDx");  // a lone surrogate
    EXPECT_EQ(exports[5].name, (PackageName{"Caf\xE9", false, testing::kNameFlags}));

    const TriggerSounds selected = SelectTriggerSounds(exports, VariantSearch::kCount);
    std::vector<std::string> sounds;
    for (const TriggerSound& sound : selected.sounds) sounds.push_back(sound.name);
    EXPECT_EQ(sounds, (Names{"Laugh", "Laugh1", " !#$%&'()*+-./:;<=>?@[\\]^_`{|}~"}));
    EXPECT_EQ(selected.sounds[0].variants, 2);  // the UTF-16 Laugh1 counts
    std::vector<std::string> skipped;
    for (const SoundExport& sound : selected.skipped) skipped.push_back(sound.name.text);
    EXPECT_EQ(skipped, (Names{"Caf\xC3\xA9", "\xF0\x9F\x98\x80", "\xEF\xBF\xBDx", "Caf\xE9",
                              "Tab\tName", "Del\x7F", "Tilde~ \"quoted\""}));
  }
}

TEST(PackageTables, GroupsFollowTheOuterChainThroughExportsAndImports) {
  PackageSpec layout = testing::MakeSoundPackage("Odd", {{"G", {"InImport"}}});
  layout.exports[1].outer = testing::ImportRef(0);  // the package Engine, oddly
  const PackageTables tables = ParsePackageTables(Bytes(WritePackage(layout).bytes), "Odd.uax");
  EXPECT_EQ(NamesAndGroups(FindSoundExports(tables)),
            (std::vector<std::pair<std::string, std::string>>{{"InImport", "Engine"}}));

  layout.exports[1].outer = testing::ExportRef(0);
  layout.exports[0].outer = testing::ExportRef(1);  // the group lies in its own sound
  const PackageTables looped = ParsePackageTables(Bytes(WritePackage(layout).bytes), "Loop.uax");
  try {
    FindSoundExports(looped);
    ADD_FAILURE() << "no error";
  } catch (const PackageFormatError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Invalid package file Loop.uax: the outer chain of export 1 loops");
  }
}

// A group path may be 16 levels deep and 1024 bytes long. Past either bound the package is
// refused before any path is joined, however long the names it repeats; so are sounds whose
// names and paths together would take more than 64 MiB.
TEST(PackageTables, GroupPathsAndSoundNamesAreBounded) {
  using testing::MakeDeepGroupPackage;
  const std::string mib(1 << 20, 'N');
  const std::string g511(511, 'G');
  const std::string refused = "Invalid package file Deep.uax: ";
  // Each layout and the group of its last sound, or the error that refuses it.
  const std::pair<PackageSpec, std::string> cases[] = {
      {MakeDeepGroupPackage(16, "G", 2), "G.G.G.G.G.G.G.G.G.G.G.G.G.G.G.G"},
      {MakeDeepGroupPackage(17, "G", 2), refused + "group path of Alarm is deeper than 16 levels"},
      {MakeDeepGroupPackage(2, g511, 1), g511 + "." + g511},
      {MakeDeepGroupPackage(1, std::string(1025, 'G'), 1),
       refused + "group path of Alarm is longer than 1024 bytes"},
      // 255 levels of one 1 MiB name: about 255 MB a sound without the bounds.
      {MakeDeepGroupPackage(255, mib, 20),
       refused + "group path of Alarm is longer than 1024 bytes"},
      {MakeDeepGroupPackage(17, "G", 1, mib),
       refused + "group path of " + std::string(64, 'N') + "... is deeper than 16 levels"},
      {MakeDeepGroupPackage(0, "G", 64, mib), ""},
      {MakeDeepGroupPackage(0, "G", 65, mib),
       refused + "the names and group paths of its sounds take more than 64 MiB"},
  };
  for (const auto& [layout, expected] : cases) {
    const PackageTables tables = ParsePackageTables(Bytes(WritePackage(layout).bytes), "Deep.uax");
    std::string outcome;
    try {
      outcome = FindSoundExports(tables).back().group;
    } catch (const PackageFormatError& error) {
      outcome = error.what();
    }
    EXPECT_EQ(outcome, expected);
  }
}

TEST(PackageTables, OnlyTheImportSoundOfEngineMakesASound) {
  PackageSpec layout = testing::MakeSoundPackage("Cls", {{"", {"Real"}}});
  // A class Sound of another package, and an object named Sound that is no class.
  const int other = layout.NameIndex("OtherPkg");
  layout.imports.push_back({layout.FindName("Core"), layout.FindName("Package"), 0, other});
  layout.imports.push_back({layout.FindName("Core"), layout.FindName("Class"),
                            testing::ImportRef(4), layout.FindName("Sound")});
  layout.imports.push_back({layout.FindName("Engine"), layout.FindName("WAV"),
                            testing::ImportRef(0), layout.FindName("Sound")});
  for (const std::int32_t not_sound : {testing::ImportRef(5), testing::ImportRef(6)}) {
    testing::ExportEntry entry;
    entry.class_ref = not_sound;
    entry.object_name = layout.NameIndex("Fake");
    layout.exports.push_back(entry);
  }
  const PackageTables tables = ParsePackageTables(Bytes(WritePackage(layout).bytes), "Cls.uax");
  EXPECT_EQ(NamesAndGroups(FindSoundExports(tables)),
            (std::vector<std::pair<std::string, std::string>>{{"Real", ""}}));
}

void PatchU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::string U32Bytes(std::uint32_t value) {
  std::string bytes(4, '\0');
  PatchU32(bytes, 0, value);
  return bytes;
}

// Header fields (all versions) and the fields after them (version 68 on / before).
constexpr std::size_t kVersionAt = 4, kNameCountAt = 12, kNameOffsetAt = 16, kExportCountAt = 20,
                      kExportOffsetAt = 24, kImportCountAt = 28, kImportOffsetAt = 32,
                      kGenerationCountAt = 52, kHeritageCountAt = 36, kHeritageOffsetAt = 40;

// The package with its export table replaced by `table`, appended at the end.
std::string WithExportTable(std::string bytes, const std::string& table, std::uint32_t count) {
  PatchU32(bytes, kExportOffsetAt, static_cast<std::uint32_t>(bytes.size()));
  PatchU32(bytes, kExportCountAt, count);
  return bytes + table;
}

// The package reduced to a name table of one entry, appended at the end.
std::string WithOneName(std::string bytes, const std::string& entry) {
  PatchU32(bytes, kNameOffsetAt, static_cast<std::uint32_t>(bytes.size()));
  PatchU32(bytes, kNameCountAt, 1);
  PatchU32(bytes, kImportCountAt, 0);
  PatchU32(bytes, kExportCountAt, 0);
  return bytes + entry;
}

// One export of the sound class: class, super, outer, name, flags, size, offset.
std::string ExportBytes(const std::string& size_and_offset) {
  return CompactIndex(testing::ImportRef(1)) + CompactIndex(0) + U32Bytes(0) + CompactIndex(1) +
         U32Bytes(testing::kObjectFlags) + size_and_offset;
}

std::string ParseError(const std::string& bytes) {
  try {
    ParsePackageTables(Bytes(bytes), "Bad.uax");
  } catch (const PackageFormatError& error) {
    EXPECT_EQ(std::string(error.what()), "Invalid package file Bad.uax: " + error.problem());
    return error.problem();
  }
  return "no error";
}

TEST(PackageTables, EveryInconsistencyIsAClearError) {
  const PackageSpec layout = FunSpec(128);
  const WrittenPackage written = WritePackage(layout);
  const std::string good = written.bytes;
  const std::string size = std::to_string(good.size());
  const std::string names = std::to_string(layout.names.size());
  const std::string exports = std::to_string(layout.exports.size());
  const std::string old = WritePackage(FunSpec(65)).bytes;
  const auto patched = [](std::string bytes, std::size_t at, std::uint32_t value) {
    PatchU32(bytes, at, value);
    return bytes;
  };
  const auto with_byte = [&good](std::size_t at, char value) {
    std::string bytes = good;
    bytes[at] = value;
    return bytes;
  };
  const std::string zero_terminated = WritePackage(FunSpec(61)).bytes;

  const struct {
    const char* label;
    std::string bytes;
    std::string problem;
  } cases[] = {
      {"empty file", "", "the header runs past the end of the file"},
      {"cut header", good.substr(0, 20), "the header runs past the end of the file"},
      {"bad tag", patched(good, 0, 0x12345678),
       "bad tag 0x12345678 (a package starts with 0x9E2A83C1)"},
      {"old version", with_byte(kVersionAt, 59), "version 59 is older than 60"},
      {"negative names", patched(good, kNameCountAt, 0xFFFFFFFF), "the name count -1 is negative"},
      {"negative imports", patched(good, kImportCountAt, 0xFFFFFFFD),
       "the import count -3 is negative"},
      {"names in header", patched(good, kNameOffsetAt, 10),
       "the name table offset 10 lies inside the header"},
      {"exports past end", patched(good, kExportOffsetAt, static_cast<std::uint32_t>(good.size())),
       "the export table offset " + size + " lies outside the file (" + size + " bytes)"},
      {"too many imports", patched(good, kImportCountAt, 1'000'000),
       "the import table of 1000000 entries does not fit in the file"},
      {"huge export count", patched(good, kExportCountAt, 20'000'000),
       "the export table is larger than 64 MiB"},
      {"negative generations", patched(good, kGenerationCountAt, 0xFFFFFFFF),
       "the generation count -1 is negative"},
      {"too many generations", patched(good, kGenerationCountAt, 100'000),
       "the header runs past the end of the file"},
      {"negative heritage", patched(old, kHeritageCountAt, 0xFFFFFFFF),
       "the heritage count -1 is negative"},
      {"heritage past end",
       patched(patched(old, kHeritageCountAt, 1), kHeritageOffsetAt,
               static_cast<std::uint32_t>(old.size() - 15)),
       "the heritage table lies outside the file"},
      {"import name out of range", with_byte(written.import_offset, 0x3F),
       "import 0 refers to the name 63, but the package has " + names + " names"},
      {"import outer out of range", patched(good, written.import_offset + 2, 0xFFFFFF9D),
       "import 0 refers to the object -99, but the package has 4 imports"},
      {"import outer past exports", patched(good, written.import_offset + 7 + 2, 50),
       "import 1 refers to the object 50, but the package has " + exports + " exports"},
      {"export class out of range", with_byte(written.export_offset, 0x3F),
       "export 0 refers to the object 63, but the package has " + exports + " exports"},
      {"negative serial size", WithExportTable(good, ExportBytes(CompactIndex(-5)), 1),
       "export 0 has a negative serial size"},
      {"data past end",
       WithExportTable(good, ExportBytes(CompactIndex(100000) + CompactIndex(100)), 1),
       "the data of export 0 (offset 100, size 100000) lies outside the file"},
      {"negative data offset",
       WithExportTable(good, ExportBytes(CompactIndex(4) + CompactIndex(-1)), 1),
       "the data of export 0 (offset -1, size 4) lies outside the file"},
      {"compact index too wide",
       WithExportTable(good, std::string("\x7F\xFF\xFF\xFF\xFF", 5) + std::string(20, '\0'), 1),
       "export 0 holds a compact index beyond 31 bits"},
      {"compact index overlong",
       WithExportTable(good, std::string("\x40\x00", 2) + std::string(20, '\0'), 1),
       "export 0 holds an overlong compact index"},
      {"export cut short",
       WithExportTable(good, ExportBytes(CompactIndex(0)) + ExportBytes(CompactIndex(4)), 2),
       "export 1 runs past the end of the file"},
      {"unterminated name", WithOneName(good, CompactIndex(5) + "abcde" + U32Bytes(0)),
       "name 0 lacks its terminating zero"},
      {"unterminated UTF-16 name",
       WithOneName(good, CompactIndex(-2) + std::string("a\0b\0", 4) + U32Bytes(0)),
       "name 0 lacks its terminating zero"},
      {"name past end", WithOneName(good, CompactIndex(60) + "abcd"),
       "name 0 runs past the end of the file"},
      {"name without flags", WithOneName(good, CompactIndex(2) + std::string("a\0\x10\0", 4)),
       "name 0 runs past the end of the file"},
      {"zero-terminated name past end", WithOneName(zero_terminated, "abcdefg"),
       "name 0 runs past the end of the file"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseError(c.bytes), c.problem) << c.label;
}

// Records the reads of file data while it lives.
class ReadLog {
 public:
  struct Read {
    std::uint64_t offset;
    std::size_t length;
  };
  explicit ReadLog(std::function<void(const Read&)> also = {}) {
    SetFileReadObserverForTesting(
        [this, also](const std::string&, std::uint64_t offset, std::size_t length) {
          reads_.push_back({offset, length});
          if (also) also(reads_.back());
        });
  }
  ~ReadLog() { SetFileReadObserverForTesting({}); }
  const std::vector<Read>& reads() const { return reads_; }

 private:
  std::vector<Read> reads_;
};

TEST(ReadPackageTables, ReadsOnlyTheHeaderAndTheTablesOfAHugeSparseFile) {
  testing::TempDir dir;
  const std::string path = dir.File("Huge.uax");
  const WrittenPackage written = WritePackage(FunSpec(128));
  // The header, a 1 GiB hole, then the name, import and export tables at the very end.
  constexpr std::uint64_t kFileSize = 1ull << 30;
  const std::string tail = written.bytes.substr(written.name_offset);
  const std::uint64_t tables_at = kFileSize - tail.size();
  std::string header = written.bytes.substr(0, written.name_offset);
  const auto moved = [&](std::uint32_t offset) {
    return static_cast<std::uint32_t>(offset - written.name_offset + tables_at);
  };
  PatchU32(header, kNameOffsetAt, moved(written.name_offset));
  PatchU32(header, kImportOffsetAt, moved(written.import_offset));
  PatchU32(header, kExportOffsetAt, moved(written.export_offset));
  {
    std::ofstream file(path, std::ios::binary);
    file << header;
    file.seekp(static_cast<std::streamoff>(tables_at));
    file << tail;
  }
  ASSERT_EQ(std::filesystem::file_size(path), kFileSize);

  const ReadLog log;
  const PackageTables tables = ReadPackageTables(path);
  EXPECT_EQ(tables.file_size, kFileSize);
  EXPECT_EQ(NamesAndGroups(FindSoundExports(tables)), kFunSounds);
  std::uint64_t total = 0;
  std::uint64_t in_hole = 0;
  for (const ReadLog::Read& read : log.reads()) {
    total += read.length;
    const std::uint64_t hole_begin = std::max<std::uint64_t>(read.offset, header.size());
    const std::uint64_t hole_end = std::min<std::uint64_t>(read.offset + read.length, tables_at);
    if (hole_end > hole_begin) in_hole += hole_end - hole_begin;
  }
  EXPECT_EQ(in_hole, 0u);
  EXPECT_LE(total, header.size() + tail.size());
}

TEST(ReadPackageTables, ATableOfMoreThan64MiBEndsTheReadEarly) {
  testing::TempDir dir;
  const std::string path = dir.File("Big.uax");
  std::string bytes = WritePackage(FunSpec(128)).bytes.substr(0, 64);
  PatchU32(bytes, kNameCountAt, 1);
  PatchU32(bytes, kImportCountAt, 0);
  PatchU32(bytes, kExportCountAt, 0);
  { std::ofstream(path, std::ios::binary) << bytes << CompactIndex(70'000'000); }
  std::filesystem::resize_file(path, 80'000'000);
  const ReadLog log;
  try {
    ReadPackageTables(path);
    ADD_FAILURE() << "no error";
  } catch (const PackageFormatError& error) {
    EXPECT_EQ(error.problem(), "the name table is larger than 64 MiB");
  }
  std::uint64_t total = 0;
  for (const ReadLog::Read& read : log.reads()) total += read.length;
  EXPECT_LE(total, 64u + 4096u);
}

TEST(ReadPackageTables, AFileThatShrinksWhileItIsReadIsCutShort) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows keeps writers out of a package while it is read";
#endif
  testing::TempDir dir;
  const WrittenPackage written = WritePackage(FunSpec(128));
  const std::string path = dir.Write("Shrinking.uax", written.bytes);
  bool cut = false;
  const ReadLog log([&](const ReadLog::Read&) {
    if (!cut) std::filesystem::resize_file(path, written.name_offset + 3);
    cut = true;
  });
  try {
    ReadPackageTables(path);
    ADD_FAILURE() << "no error";
  } catch (const PackageFormatError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Invalid package file " + path + ": name 0 runs past the end of the file");
  }
}

TEST(ReadPackageTables, FilesThatCannotBeReadAreCannotOpen) {
  testing::TempDir dir;
  const std::string plain = dir.Write("plain.uax", "x");
  const std::string faulty = dir.Write("faulty.uax", WritePackage(FunSpec(128)).bytes);
  SetFileFaultsForTesting({[&](const std::string& path) { return path == faulty; }, {}});
  const std::pair<std::string, std::string> cases[] = {{dir.File("missing.uax"), ": no such file"},
                                                       {dir.path(), ": it is a folder"},
                                                       {plain + "/inside.uax", ": no such file"},
                                                       {faulty, ""}};
  for (const auto& [path, reason] : cases) {
    try {
      ReadPackageTables(path);
      ADD_FAILURE() << path;
    } catch (const FileOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + path + reason);
    }
  }
  SetFileFaultsForTesting({});
}

}  // namespace
}  // namespace quarrix
