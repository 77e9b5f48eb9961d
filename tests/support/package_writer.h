#pragma once
// Writes real-format Unreal packages (UT2004 by default) for tests, benchmarks and the demo
// sample: header, name table, import table, export data and export table, with the layout
// reported back so tests can aim at byte offsets. See docs/package-format.md.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quarrix::testing {

inline constexpr std::uint32_t kPackageTag = 0x9E2A83C1;
inline constexpr std::uint16_t kUt2004Version = 128;
inline constexpr std::uint16_t kUt2004Licensee = 29;
inline constexpr std::uint32_t kAllowDownload = 0x00000001;

// Name flags words. The first two are the markers the name walk recognises.
inline constexpr std::uint32_t kNameFlags = 0x00070010;              // an ordinary name
inline constexpr std::uint32_t kNativeNameFlags = 0x04070010;        // a name the engine knows
inline constexpr std::uint32_t kTaggedNativeNameFlags = 0x04070410;  // None, Package, Class

// Object flags of the exported sounds and groups: public, loaded by client, server, editor.
inline constexpr std::uint32_t kObjectFlags = 0x00070004;

using Guid = std::array<std::uint8_t, 16>;

struct NameEntry {
  enum class Encoding { kAnsi, kUtf16 };

  // An 8-bit name: its bytes, then a zero; the length counts the zero.
  static NameEntry Ansi(std::string text, std::uint32_t flags = kNameFlags);
  // A UTF-16 name: its code units, then a zero unit; the length is negative.
  static NameEntry Utf16(std::u16string text, std::uint32_t flags = kNameFlags);

  Encoding encoding = Encoding::kAnsi;
  std::string ansi;
  std::u16string utf16;
  std::uint32_t flags = kNameFlags;
};

// Object references: 0 none, i + 1 the export i, -(i + 1) the import i.
inline constexpr std::int32_t ExportRef(int index) { return index + 1; }
inline constexpr std::int32_t ImportRef(int index) { return -(index + 1); }

// Name references are indexes into the name table.
struct ImportEntry {
  int class_package = 0;
  int class_name = 0;
  std::int32_t outer = 0;
  int object_name = 0;
};

// One tagged property of an object, written as the engine writes it: the name index of its
// name; an info byte (type in bits 0-3, size code in bits 4-6, bit 7 the array flag or a
// bool's value); for a struct the name index of the struct's name; the size when no size code
// stands for it; the array index (1, 2 or 4 bytes); the value (none for a bool).
struct Property {
  enum Type : std::uint8_t {
    kByte = 1,
    kInt = 2,
    kBool = 3,
    kFloat = 4,
    kObject = 5,
    kName = 6,
    kArray = 9,
    kStruct = 10,
    kStr = 13,
  };

  static Property Float(int name, float value);
  static Property Int(int name, std::int32_t value);
  static Property Bool(int name, bool value);
  // A name index, as a compact index.
  static Property Name(int name, int value);
  static Property Struct(int name, int struct_name, std::string value);
  static Property Array(int name, std::string value);

  int name = 0;
  std::uint8_t type = kInt;
  std::string value;
  bool bool_value = false;
  int struct_name = -1;  // structs only
  int array_index = -1;  // -1: none
  // 0: the size code of the value's size where there is one (1, 2, 4, 12, 16), else a size of
  // the fewest bytes; 1, 2 or 4: a size of that many bytes.
  int size_bytes = 0;
  // The size written, when it is not the value's own (for broken data).
  std::optional<std::int32_t> size;
};

// The bytes of one property tag and its value.
std::string PropertyBytes(const Property& property);

// A sound's data: its properties and the None that ends them, the format name, in UT2003 and
// UT2004 packages a float (versions 117-119 with licensee 25-27, 120 with 27-28, 121-128 with
// 29), from version 62 on the offset of the byte after the audio, the audio's size (a compact
// index) and the audio as it was imported.
struct SoundData {
  int format_name = 0;
  std::string audio;
  std::vector<Property> properties;
  float after_format = 1.0f;
  // Written instead of the true values, for broken data.
  std::optional<std::uint32_t> end_offset;
  std::optional<std::int32_t> audio_size;
};

// True when sounds of this version and licensee hold the float after the format.
bool SoundHasFloat(std::uint16_t version, std::uint16_t licensee);

// A RIFF WAVE file of PCM samples: "RIFF", "WAVE", a 16-byte fmt chunk, `extra_chunks` as
// given, and a data chunk of frames * channels * bits / 8 bytes, different for each seed.
struct WaveShape {
  std::uint32_t rate = 11025;
  std::uint16_t channels = 1;
  std::uint16_t bits = 8;
  std::uint32_t frames = 32;
  int seed = 0;
  std::string extra_chunks;
};
std::string MakeWave(const WaveShape& shape);

struct ExportEntry {
  std::int32_t class_ref = 0;
  std::int32_t super_ref = 0;
  std::int32_t outer = 0;
  int object_name = 0;
  std::uint32_t object_flags = kObjectFlags;
  // Raw serial bytes (empty: no data, and no serial offset in the table) or a sound.
  std::variant<std::string, SoundData> data;
};

struct Generation {
  std::int32_t export_count = 0;
  std::int32_t name_count = 0;
};

struct PackageSpec {
  std::uint16_t version = kUt2004Version;
  std::uint16_t licensee = kUt2004Licensee;
  std::uint32_t package_flags = kAllowDownload;
  Guid guid{};
  // From version 68 on. Unset: one generation with this package's export and name counts.
  std::optional<std::vector<Generation>> generations;
  // Before version 68: the heritage table's GUIDs (the package's own GUID when empty).
  std::vector<Guid> heritage;
  std::vector<NameEntry> names;
  std::vector<ImportEntry> imports;
  std::vector<ExportEntry> exports;
  // Bytes written after the export table (to pad a file to a size).
  std::string trailer;

  // Appends a name and returns its index.
  int AddName(NameEntry name);
  // The index of the first 8-bit name spelled `text`, or -1.
  int FindName(std::string_view text) const;
  // FindName, adding the name with `flags` when it is missing.
  int NameIndex(std::string_view text, std::uint32_t flags = kNameFlags);
};

struct WrittenPackage {
  std::string bytes;
  std::uint32_t name_offset = 0;
  std::uint32_t import_offset = 0;
  std::uint32_t export_offset = 0;
  std::uint32_t heritage_offset = 0;              // before version 68 only
  std::vector<std::uint32_t> name_entry_offsets;  // where each name entry starts
  std::vector<std::uint32_t> serial_offsets;      // each export's data (0: none)
  std::vector<std::uint32_t> serial_sizes;
};

// Serialises layout. Throws std::invalid_argument for what the format cannot hold (a UTF-16
// name or an 8-bit name with a zero byte before version 64, a name index out of range, a
// sound without a "None" name).
WrittenPackage WritePackage(const PackageSpec& layout);

// Appends the compact index encoding of value (1 to 5 bytes).
void AppendCompactIndex(std::string& out, std::int32_t value);
std::string CompactIndex(std::int32_t value);

// A group of sounds; an empty group name puts the sounds at the package's top level, and a
// dotted one ("Voices.Sub") puts them in a group within a group.
struct SoundGroup {
  std::string name;
  std::vector<std::string> sounds;
};

// A sound package as UT2004's editor lays one out: the engine names None, Core, Engine,
// Package, Class, Sound and WAV first (None, Package and Class with the flags 0x04070410,
// which are no name marker), then the package's own name, then each group's name followed
// by its sounds' names; imports of Engine.Sound and Core.Package; one export per group and
// per sound, each sound holding a few bytes of 8-bit samples. The enclosing groups of a
// dotted group name are made once, before the first group inside them.
PackageSpec MakeSoundPackage(std::string_view package_name, const std::vector<SoundGroup>& groups);

// A package made to blow up group paths: `sounds` sounds named `sound_name` at the bottom of
// `levels` groups nested in one another, every group named `group_name` (one name entry, so
// the package stays small however long the paths it describes).
PackageSpec MakeDeepGroupPackage(int levels, const std::string& group_name, int sounds,
                                 const std::string& sound_name = "Alarm");

// The bundled demo package samples/Demo.uax: two groups of sounds, some with numbered
// variants (Laugh, Laugh1, Laugh2).
PackageSpec MakeDemoPackage();

// One name entry as the walk expects it: length byte (characters + 1), the characters, a
// zero byte, the flags word. For hand-made byte patterns.
std::string NameEntryBytes(std::string_view text, std::uint32_t flags = kNameFlags);

}  // namespace quarrix::testing
