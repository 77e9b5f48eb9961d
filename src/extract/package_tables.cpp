#include "extract/package_tables.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "extract/package_cursor.h"
#include "runtime/ascii.h"

namespace quarrix {
namespace {

constexpr std::uint32_t kFixedHeaderSize = 36;
constexpr std::uint16_t kNameLengthVersion = 64;
constexpr std::uint16_t kGenerationVersion = 68;
constexpr std::uint64_t kGuidSize = 16;
constexpr std::uint64_t kGenerationSize = 8;
// Groups nest a few levels deep and have short names. A sound's group path may be at most
// this deep and this long, so a package cannot make each sound cost megabytes of memory.
constexpr std::size_t kMaxGroupDepth = 16;
constexpr std::uint64_t kMaxGroupPathBytes = 1024;
// The names and group paths of all sounds together, which every reader of the sounds copies.
constexpr std::uint64_t kSoundTextLimit = kPackageTableLimit;
// A name in a problem text is cut after this many bytes (the engine's names are shorter).
constexpr std::size_t kNameShownInProblem = 64;

// The fewest bytes an entry of each table can take, to tell early whether a count can fit.
constexpr std::uint64_t kMinNameEntry = 5;     // length or terminator, flags
constexpr std::uint64_t kMinImportEntry = 7;   // three one-byte indexes, a 32-bit outer
constexpr std::uint64_t kMinExportEntry = 12;  // four one-byte indexes, outer, flags

// Table reads start small and grow, so a small table costs one small read and a large one
// few reads, and little is read past a table's end.
constexpr PackageCursor::ReadAhead kTableReadAhead{4096, 1 << 20};

std::string Hex32(std::uint32_t value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
  return text;
}

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

// UTF-16 code units (little-endian bytes) as UTF-8, up to the first zero unit; a surrogate
// without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes) {
  std::string out;
  const std::size_t units = bytes.size() / 2;
  const auto unit_at = [&bytes](std::size_t i) {
    return static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                 (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = unit_at(i);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
      const char16_t low = unit_at(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{low} - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? char32_t{0xFFFD} : char32_t{unit});
  }
  return out;
}

std::string NameForProblem(std::string_view name) {
  if (name.size() <= kNameShownInProblem) return PrintableName(name);
  return PrintableName(name.substr(0, kNameShownInProblem)) + "...";
}

std::string_view ToText(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

// Reads the header and the three tables through one cursor, each part within
// kPackageTableLimit bytes of its start, and words the cursor's faults for the part and the
// item being read.
class TableReader {
 public:
  TableReader(PackageBytes& source, PackageTables& tables) : cursor_(source), tables_(tables) {}

  void Read() {
    try {
      ReadHeader();
      const PackageHeader& header = tables_.header;
      CheckTablePlace("name", header.name_count, header.name_offset, kMinNameEntry);
      CheckTablePlace("import", header.import_count, header.import_offset, kMinImportEntry);
      CheckTablePlace("export", header.export_count, header.export_offset, kMinExportEntry);
      // The tables are read in file order, so the file is read forward only.
      struct Step {
        std::uint32_t offset;
        void (TableReader::*read)();
      };
      Step steps[] = {{header.name_offset, &TableReader::ReadNames},
                      {header.import_offset, &TableReader::ReadImports},
                      {header.export_offset, &TableReader::ReadExports}};
      std::stable_sort(std::begin(steps), std::end(steps),
                       [](const Step& a, const Step& b) { return a.offset < b.offset; });
      for (const Step& step : steps) (this->*step.read)();
    } catch (const CursorFault& fault) {
      switch (fault.kind) {
        case CursorFault::Kind::kPastLimit:
          Fail("the " + part_ + " is larger than 64 MiB");
        case CursorFault::Kind::kOverlong:
          Fail(fault.item + " holds an overlong compact index");
        case CursorFault::Kind::kPastEnd:
        case CursorFault::Kind::kCutShort:
          break;
      }
      Fail(fault.item + " runs past the end of the file");
    }
  }

 private:
  [[noreturn]] void Fail(std::string_view problem) const {
    throw PackageFormatError(tables_.path, problem);
  }

  // Starts a part: `part` names it in errors ("name table").
  void StartPart(std::string part, std::uint64_t offset, PackageCursor::ReadAhead read_ahead) {
    part_ = std::move(part);
    cursor_.Start(offset, tables_.file_size, offset + kPackageTableLimit, read_ahead);
  }

  // A compact index of the tables, which hold no value beyond 31 bits.
  std::int32_t Compact31() {
    const std::int64_t value = cursor_.Compact();
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    if (value > kLargest || value < -kLargest) {
      Fail(cursor_.item() + " holds a compact index beyond 31 bits");
    }
    return static_cast<std::int32_t>(value);
  }

  void ReadHeader() {
    PackageHeader& header = tables_.header;
    StartPart("header", 0, {});
    cursor_.SetItem("the header");
    const std::uint32_t tag = cursor_.U32();
    if (tag != kUnrealPackageTag) {
      Fail("bad tag " + Hex32(tag) + " (a package starts with " + Hex32(kUnrealPackageTag) + ")");
    }
    cursor_.Need(kFixedHeaderSize - 4);
    header.version = cursor_.U16();
    header.licensee = cursor_.U16();
    if (header.version < kOldestPackageVersion) {
      Fail("version " + std::to_string(header.version) + " is older than " +
           std::to_string(kOldestPackageVersion));
    }
    header.package_flags = cursor_.U32();
    header.name_count = cursor_.I32();
    header.name_offset = cursor_.U32();
    header.export_count = cursor_.I32();
    header.export_offset = cursor_.U32();
    header.import_count = cursor_.I32();
    header.import_offset = cursor_.U32();
    if (header.version >= kGenerationVersion) {
      cursor_.Need(kGuidSize + 4);
      for (std::uint8_t& byte : header.guid) byte = cursor_.U8();
      const std::int32_t count = cursor_.I32();
      if (count < 0) Fail("the generation count " + std::to_string(count) + " is negative");
      cursor_.Need(static_cast<std::uint64_t>(count) * kGenerationSize);
      header.generations.resize(static_cast<std::size_t>(count));
      for (PackageGeneration& generation : header.generations) {
        generation.export_count = cursor_.I32();
        generation.name_count = cursor_.I32();
      }
    } else {
      cursor_.Need(8);
      header.heritage_count = cursor_.I32();
      header.heritage_offset = cursor_.U32();
      if (header.heritage_count < 0) {
        Fail("the heritage count " + std::to_string(header.heritage_count) + " is negative");
      }
      const std::uint64_t end = std::uint64_t{header.heritage_offset} +
                                static_cast<std::uint64_t>(header.heritage_count) * kGuidSize;
      if (header.heritage_count > 0 && end > tables_.file_size) {
        Fail("the heritage table lies outside the file");
      }
    }
    header.size = static_cast<std::uint32_t>(cursor_.position());
  }

  // Checks that a table's count and offset can describe a table of this file.
  void CheckTablePlace(std::string_view table, std::int32_t count, std::uint32_t offset,
                       std::uint64_t min_entry) const {
    const std::string name(table);
    if (count < 0) Fail("the " + name + " count " + std::to_string(count) + " is negative");
    if (count == 0) return;
    if (offset < tables_.header.size) {
      Fail("the " + name + " table offset " + std::to_string(offset) + " lies inside the header");
    }
    if (offset >= tables_.file_size) {
      Fail("the " + name + " table offset " + std::to_string(offset) + " lies outside the file (" +
           std::to_string(tables_.file_size) + " bytes)");
    }
    const std::uint64_t least = static_cast<std::uint64_t>(count) * min_entry;
    if (least > kPackageTableLimit) Fail("the " + name + " table is larger than 64 MiB");
    if (least > tables_.file_size - offset) {
      Fail("the " + name + " table of " + std::to_string(count) +
           " entries does not fit in the file");
    }
  }

  void ReadNames() {
    const PackageHeader& header = tables_.header;
    StartPart("name table", header.name_offset, kTableReadAhead);
    for (std::int32_t i = 0; i < header.name_count; ++i) {
      cursor_.SetItem("name " + std::to_string(i));
      PackageName name;
      if (header.version < kNameLengthVersion) {
        for (std::uint8_t byte = cursor_.U8(); byte != 0; byte = cursor_.U8()) {
          name.text += static_cast<char>(byte);
        }
      } else if (const std::int32_t length = Compact31(); length > 0) {
        const std::string bytes = cursor_.Bytes(static_cast<std::uint64_t>(length));
        if (bytes.back() != '\0') Fail(cursor_.item() + " lacks its terminating zero");
        name.text = ToText(bytes);
      } else if (length < 0) {
        const std::string bytes = cursor_.Bytes(2 * static_cast<std::uint64_t>(-length));
        if (bytes[bytes.size() - 1] != '\0' || bytes[bytes.size() - 2] != '\0') {
          Fail(cursor_.item() + " lacks its terminating zero");
        }
        name.text = Utf16ToUtf8(bytes);
        name.utf16 = true;
      }
      name.flags = cursor_.U32();
      tables_.names.push_back(std::move(name));
    }
  }

  void ReadImports() {
    const PackageHeader& header = tables_.header;
    StartPart("import table", header.import_offset, kTableReadAhead);
    for (std::int32_t i = 0; i < header.import_count; ++i) {
      cursor_.SetItem("import " + std::to_string(i));
      PackageImport entry;
      entry.class_package = NameIndex();
      entry.class_name = NameIndex();
      entry.outer = ObjectRef(cursor_.I32());
      entry.object_name = NameIndex();
      tables_.imports.push_back(entry);
    }
  }

  void ReadExports() {
    const PackageHeader& header = tables_.header;
    StartPart("export table", header.export_offset, kTableReadAhead);
    for (std::int32_t i = 0; i < header.export_count; ++i) {
      cursor_.SetItem("export " + std::to_string(i));
      PackageExport entry;
      entry.class_ref = ObjectRef(Compact31());
      entry.super_ref = ObjectRef(Compact31());
      entry.outer = ObjectRef(cursor_.I32());
      entry.object_name = NameIndex();
      entry.object_flags = cursor_.U32();
      entry.serial_size = Compact31();
      if (entry.serial_size < 0) Fail(cursor_.item() + " has a negative serial size");
      if (entry.serial_size > 0) {
        entry.serial_offset = Compact31();
        if (entry.serial_offset < 0 || static_cast<std::uint64_t>(entry.serial_offset) +
                                               static_cast<std::uint64_t>(entry.serial_size) >
                                           tables_.file_size) {
          Fail("the data of " + cursor_.item() + " (offset " + std::to_string(entry.serial_offset) +
               ", size " + std::to_string(entry.serial_size) + ") lies outside the file");
        }
      }
      tables_.exports.push_back(entry);
    }
  }

  std::int32_t NameIndex() {
    const std::int32_t index = Compact31();
    if (index < 0 || index >= tables_.header.name_count) {
      Fail(cursor_.item() + " refers to the name " + std::to_string(index) +
           ", but the package has " + std::to_string(tables_.header.name_count) + " names");
    }
    return index;
  }

  std::int32_t ObjectRef(std::int32_t ref) const {
    if (ref > tables_.header.export_count) {
      Fail(cursor_.item() + " refers to the object " + std::to_string(ref) +
           ", but the package has " + std::to_string(tables_.header.export_count) + " exports");
    }
    if (ref < 0 && -static_cast<std::int64_t>(ref) > tables_.header.import_count) {
      Fail(cursor_.item() + " refers to the object " + std::to_string(ref) +
           ", but the package has " + std::to_string(tables_.header.import_count) + " imports");
    }
    return ref;
  }

  PackageCursor cursor_;
  PackageTables& tables_;
  std::string part_;
};

PackageTables ReadTables(PackageBytes& source, std::string_view path) {
  PackageTables tables;
  tables.path = path;
  tables.file_size = source.size();
  TableReader(source, tables).Read();
  return tables;
}

}  // namespace

PackageFormatError::PackageFormatError(std::string_view path, std::string_view problem)
    : QuarrixError("Invalid package file " + std::string(path) + ": " + std::string(problem)),
      problem_(problem) {}

std::string PrintableName(std::string_view name) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte <= 0x7E && byte != '\\') {
      text += c;
    } else {
      text += "\\x";
      text += kDigits[byte >> 4];
      text += kDigits[byte & 0xF];
    }
  }
  return text;
}

std::string PackageMemoryBytes::Read(std::uint64_t offset, std::size_t length) {
  if (offset >= bytes_.size()) return {};
  const std::size_t count =
      static_cast<std::size_t>(std::min<std::uint64_t>(length, bytes_.size() - offset));
  return {reinterpret_cast<const char*>(bytes_.data() + offset), count};
}

PackageTables ReadPackageTables(PackageBytes& bytes, std::string_view path) {
  return ReadTables(bytes, path);
}

PackageTables ParsePackageTables(std::span<const std::uint8_t> bytes, std::string_view path) {
  PackageMemoryBytes memory(bytes);
  return ReadTables(memory, path);
}

std::vector<SoundExport> FindSoundExports(const PackageTables& tables) {
  const auto name_of = [&tables](std::int32_t index) -> const PackageName& {
    return tables.names[static_cast<std::size_t>(index)];
  };
  const auto import_of = [&tables](std::int32_t ref) -> const PackageImport& {
    return tables.imports[static_cast<std::size_t>(-ref - 1)];
  };
  const auto export_of = [&tables](std::int32_t ref) -> const PackageExport& {
    return tables.exports[static_cast<std::size_t>(ref - 1)];
  };
  const auto object_name_of = [&](std::int32_t ref) -> const std::string& {
    return name_of(ref > 0 ? export_of(ref).object_name : import_of(ref).object_name).text;
  };
  // Names compare without regard to ASCII case, as the engine compares them.
  const auto is_sound_class = [&](std::int32_t ref) {
    if (ref >= 0) return false;
    const PackageImport& entry = import_of(ref);
    if (!EqualIgnoringAsciiCase(name_of(entry.object_name).text, "Sound") ||
        !EqualIgnoringAsciiCase(name_of(entry.class_name).text, "Class") || entry.outer >= 0) {
      return false;
    }
    const PackageImport& package = import_of(entry.outer);
    return package.outer == 0 &&
           EqualIgnoringAsciiCase(name_of(package.object_name).text, "Engine");
  };

  std::vector<SoundExport> sounds;
  std::vector<std::int32_t> chain;
  std::uint64_t text_bytes = 0;
  for (std::size_t i = 0; i < tables.exports.size(); ++i) {
    const PackageExport& entry = tables.exports[i];
    if (!is_sound_class(entry.class_ref)) continue;
    const std::string& name = name_of(entry.object_name).text;
    const auto fail = [&](std::string_view problem) {
      throw PackageFormatError(
          tables.path, "group path of " + NameForProblem(name) + " is " + std::string(problem));
    };
    // The chain and its length are checked before any path is joined, so each sound costs
    // at most the bounds however the package nests and names its groups.
    chain.clear();
    std::uint64_t path_bytes = 0;
    for (std::int32_t ref = entry.outer; ref != 0;
         ref = ref > 0 ? export_of(ref).outer : import_of(ref).outer) {
      if (chain.size() == kMaxGroupDepth) {
        // A chain that comes back to an object loops; the bound also ends every loop.
        chain.push_back(ref);
        std::sort(chain.begin(), chain.end());
        if (std::adjacent_find(chain.begin(), chain.end()) != chain.end()) {
          throw PackageFormatError(tables.path,
                                   "the outer chain of export " + std::to_string(i) + " loops");
        }
        fail("deeper than " + std::to_string(kMaxGroupDepth) + " levels");
      }
      chain.push_back(ref);
      path_bytes += object_name_of(ref).size() + (chain.size() > 1 ? 1 : 0);
      if (path_bytes > kMaxGroupPathBytes) {
        fail("longer than " + std::to_string(kMaxGroupPathBytes) + " bytes");
      }
    }
    text_bytes += name.size() + path_bytes;
    if (text_bytes > kSoundTextLimit) {
      throw PackageFormatError(tables.path,
                               "the names and group paths of its sounds take more than 64 MiB");
    }
    SoundExport sound;
    sound.export_index = static_cast<int>(i);
    sound.name = name_of(entry.object_name);
    sound.group.reserve(static_cast<std::size_t>(path_bytes));
    for (auto outer = chain.rbegin(); outer != chain.rend(); ++outer) {
      if (!sound.group.empty()) sound.group += '.';
      sound.group += object_name_of(*outer);
    }
    sounds.push_back(std::move(sound));
  }
  return sounds;
}

}  // namespace quarrix
