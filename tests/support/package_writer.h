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

// A sound's data: no properties (just the None that ends them), the format name, the
// offset of the byte after the samples (from version 63 on), the sample count, the samples.
struct SoundData {
  int format_name = 0;
  std::string samples;
};

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

// The bundled demo package samples/Demo.uax: two groups of sounds, some with numbered
// variants (Laugh, Laugh1, Laugh2).
PackageSpec MakeDemoPackage();

// One name entry as the walk expects it: length byte (characters + 1), the characters, a
// zero byte, the flags word. For hand-made byte patterns.
std::string NameEntryBytes(std::string_view text, std::uint32_t flags = kNameFlags);

}  // namespace quarrix::testing
