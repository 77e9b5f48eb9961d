#include "extract/package_tables.h"

#include <algorithm>
#include <limits>
#include <memory>

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
constexpr std::size_t kFirstChunk = 4096;
constexpr std::size_t kLargestChunk = 1 << 20;

// Little-endian values and compact indexes at a moving position within one part of the file
// (the header or a table). Bytes come from a window of the source that is refilled forward as
// the position moves on; a value that would pass the end of the file or the part's size limit
// ends the read with a PackageFormatError naming the item being read.
class Cursor {
 public:
  Cursor(PackageBytes& source, std::string_view path) : source_(source), path_(path) {}

  enum class ReadAhead { kNone, kGrowing };

  // Starts a part: `part` names it in errors ("name table"); reads of it stay within
  // kPackageTableLimit bytes of `offset`.
  void StartPart(std::string part, std::uint64_t offset, ReadAhead read_ahead) {
    part_ = std::move(part);
    position_ = offset;
    limit_ = offset + kPackageTableLimit;
    read_ahead_ = read_ahead;
    chunk_ = kFirstChunk;
  }
  void SetItem(std::string item) { item_ = std::move(item); }
  std::uint64_t position() const { return position_; }

  [[noreturn]] void Fail(std::string_view problem) const {
    throw PackageFormatError(path_, problem);
  }

  // Makes the next n bytes available.
  void Need(std::uint64_t n) {
    if (n > source_.size() || position_ > source_.size() - n) {
      Fail(item_ + " runs past the end of the file");
    }
    if (position_ + n > limit_) Fail("the " + part_ + " is larger than 64 MiB");
    const std::uint64_t window_end = window_start_ + window_.size();
    if (position_ >= window_start_ && position_ + n <= window_end) return;

    // What the window still holds of the wanted bytes is kept, so nothing is read twice.
    std::string kept;
    if (position_ >= window_start_ && position_ < window_end) {
      kept = window_.substr(static_cast<std::size_t>(position_ - window_start_));
    }
    const std::uint64_t from = position_ + kept.size();
    std::uint64_t want = n - kept.size();
    if (read_ahead_ == ReadAhead::kGrowing) {
      want = std::max<std::uint64_t>(want, chunk_);
      chunk_ = std::min(chunk_ * 2, kLargestChunk);
    }
    want = std::min({want, source_.size() - from, limit_ - from});
    std::string fresh = source_.Read(from, static_cast<std::size_t>(want));
    window_ = std::move(kept) + std::move(fresh);
    window_start_ = position_;
    // The file may have shrunk since it was opened.
    if (window_.size() < n) Fail(item_ + " runs past the end of the file");
  }

  std::uint8_t U8() {
    Need(1);
    return Take(1)[0];
  }
  std::uint16_t U16() {
    Need(2);
    const std::uint8_t* at = Take(2);
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
  }
  std::uint32_t U32() {
    Need(4);
    const std::uint8_t* at = Take(4);
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  // A compact index: sign and 6 bits, then up to three bytes of 7 bits and one of 8.
  std::int32_t Compact() {
    const std::uint8_t first = U8();
    std::uint64_t magnitude = first & 0x3F;
    if (first & 0x40) {
      int shift = 6;
      for (int byte = 1; byte < 5; ++byte) {
        const std::uint8_t next = U8();
        if (byte < 4) {
          magnitude |= static_cast<std::uint64_t>(next & 0x7F) << shift;
          shift += 7;
          if (!(next & 0x80)) break;
        } else {
          magnitude |= static_cast<std::uint64_t>(next) << shift;
        }
      }
    }
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
      Fail(item_ + " holds a compact index beyond 31 bits");
    }
    const auto value = static_cast<std::int32_t>(magnitude);
    return (first & 0x80) ? -value : value;
  }

  std::string Bytes(std::uint64_t n) {
    Need(n);
    const std::uint8_t* at = Take(static_cast<std::size_t>(n));
    return {reinterpret_cast<const char*>(at), static_cast<std::size_t>(n)};
  }

 private:
  const std::uint8_t* Take(std::size_t n) {
    const auto* at = reinterpret_cast<const std::uint8_t*>(window_.data()) +
                     static_cast<std::size_t>(position_ - window_start_);
    position_ += n;
    return at;
  }

  PackageBytes& source_;
  std::string path_;
  std::string part_ = "header";
  std::string item_ = "the header";
  std::string window_;
  std::uint64_t window_start_ = 0;
  std::uint64_t position_ = 0;
  std::uint64_t limit_ = kPackageTableLimit;
  ReadAhead read_ahead_ = ReadAhead::kNone;
  std::size_t chunk_ = kFirstChunk;
};

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

void ReadHeader(Cursor& cursor, PackageTables& tables) {
  PackageHeader& header = tables.header;
  cursor.StartPart("header", 0, Cursor::ReadAhead::kNone);
  cursor.SetItem("the header");
  const std::uint32_t tag = cursor.U32();
  if (tag != kUnrealPackageTag) {
    cursor.Fail("bad tag " + Hex32(tag) + " (a package starts with " + Hex32(kUnrealPackageTag) +
                ")");
  }
  cursor.Need(kFixedHeaderSize - 4);
  header.version = cursor.U16();
  header.licensee = cursor.U16();
  if (header.version < kOldestPackageVersion) {
    cursor.Fail("version " + std::to_string(header.version) + " is older than " +
                std::to_string(kOldestPackageVersion));
  }
  header.package_flags = cursor.U32();
  header.name_count = cursor.I32();
  header.name_offset = cursor.U32();
  header.export_count = cursor.I32();
  header.export_offset = cursor.U32();
  header.import_count = cursor.I32();
  header.import_offset = cursor.U32();
  if (header.version >= kGenerationVersion) {
    cursor.Need(kGuidSize + 4);
    for (std::uint8_t& byte : header.guid) byte = cursor.U8();
    const std::int32_t count = cursor.I32();
    if (count < 0) cursor.Fail("the generation count " + std::to_string(count) + " is negative");
    cursor.Need(static_cast<std::uint64_t>(count) * kGenerationSize);
    header.generations.resize(static_cast<std::size_t>(count));
    for (PackageGeneration& generation : header.generations) {
      generation.export_count = cursor.I32();
      generation.name_count = cursor.I32();
    }
  } else {
    cursor.Need(8);
    header.heritage_count = cursor.I32();
    header.heritage_offset = cursor.U32();
    if (header.heritage_count < 0) {
      cursor.Fail("the heritage count " + std::to_string(header.heritage_count) + " is negative");
    }
    const std::uint64_t end = std::uint64_t{header.heritage_offset} +
                              static_cast<std::uint64_t>(header.heritage_count) * kGuidSize;
    if (header.heritage_count > 0 && end > tables.file_size) {
      cursor.Fail("the heritage table lies outside the file");
    }
  }
  header.size = static_cast<std::uint32_t>(cursor.position());
}

// Checks that a table's count and offset can describe a table of this file.
void CheckTablePlace(const Cursor& cursor, const PackageTables& tables, std::string_view table,
                     std::int32_t count, std::uint32_t offset, std::uint64_t min_entry) {
  const std::string name(table);
  if (count < 0) {
    cursor.Fail("the " + name + " count " + std::to_string(count) + " is negative");
  }
  if (count == 0) return;
  if (offset < tables.header.size) {
    cursor.Fail("the " + name + " table offset " + std::to_string(offset) +
                " lies inside the header");
  }
  if (offset >= tables.file_size) {
    cursor.Fail("the " + name + " table offset " + std::to_string(offset) +
                " lies outside the file (" + std::to_string(tables.file_size) + " bytes)");
  }
  const std::uint64_t least = static_cast<std::uint64_t>(count) * min_entry;
  if (least > kPackageTableLimit) cursor.Fail("the " + name + " table is larger than 64 MiB");
  if (least > tables.file_size - offset) {
    cursor.Fail("the " + name + " table of " + std::to_string(count) +
                " entries does not fit in the file");
  }
}

class TableReader {
 public:
  TableReader(Cursor& cursor, PackageTables& tables) : cursor_(cursor), tables_(tables) {}

  void ReadNames() {
    const PackageHeader& header = tables_.header;
    cursor_.StartPart("name table", header.name_offset, Cursor::ReadAhead::kGrowing);
    for (std::int32_t i = 0; i < header.name_count; ++i) {
      const std::string item = "name " + std::to_string(i);
      cursor_.SetItem(item);
      PackageName name;
      if (header.version < kNameLengthVersion) {
        for (std::uint8_t byte = cursor_.U8(); byte != 0; byte = cursor_.U8()) {
          name.text += static_cast<char>(byte);
        }
      } else if (const std::int32_t length = cursor_.Compact(); length > 0) {
        const std::string bytes = cursor_.Bytes(static_cast<std::uint64_t>(length));
        if (bytes.back() != '\0') cursor_.Fail(item + " lacks its terminating zero");
        name.text = ToText(bytes);
      } else if (length < 0) {
        const std::string bytes = cursor_.Bytes(2 * static_cast<std::uint64_t>(-length));
        if (bytes[bytes.size() - 1] != '\0' || bytes[bytes.size() - 2] != '\0') {
          cursor_.Fail(item + " lacks its terminating zero");
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
    cursor_.StartPart("import table", header.import_offset, Cursor::ReadAhead::kGrowing);
    for (std::int32_t i = 0; i < header.import_count; ++i) {
      const std::string item = "import " + std::to_string(i);
      cursor_.SetItem(item);
      PackageImport entry;
      entry.class_package = NameIndex(item);
      entry.class_name = NameIndex(item);
      entry.outer = ObjectRef(item, cursor_.I32());
      entry.object_name = NameIndex(item);
      tables_.imports.push_back(entry);
    }
  }

  void ReadExports() {
    const PackageHeader& header = tables_.header;
    cursor_.StartPart("export table", header.export_offset, Cursor::ReadAhead::kGrowing);
    for (std::int32_t i = 0; i < header.export_count; ++i) {
      const std::string item = "export " + std::to_string(i);
      cursor_.SetItem(item);
      PackageExport entry;
      entry.class_ref = ObjectRef(item, cursor_.Compact());
      entry.super_ref = ObjectRef(item, cursor_.Compact());
      entry.outer = ObjectRef(item, cursor_.I32());
      entry.object_name = NameIndex(item);
      entry.object_flags = cursor_.U32();
      entry.serial_size = cursor_.Compact();
      if (entry.serial_size < 0) cursor_.Fail(item + " has a negative serial size");
      if (entry.serial_size > 0) {
        entry.serial_offset = cursor_.Compact();
        if (entry.serial_offset < 0 ||
            static_cast<std::uint64_t>(entry.serial_offset) + entry.serial_size >
                tables_.file_size) {
          cursor_.Fail("the data of " + item + " (offset " + std::to_string(entry.serial_offset) +
                       ", size " + std::to_string(entry.serial_size) + ") lies outside the file");
        }
      }
      tables_.exports.push_back(entry);
    }
  }

 private:
  std::int32_t NameIndex(const std::string& item) {
    const std::int32_t index = cursor_.Compact();
    if (index < 0 || index >= tables_.header.name_count) {
      cursor_.Fail(item + " refers to the name " + std::to_string(index) +
                   ", but the package has " + std::to_string(tables_.header.name_count) + " names");
    }
    return index;
  }

  std::int32_t ObjectRef(const std::string& item, std::int32_t ref) {
    if (ref > tables_.header.export_count) {
      cursor_.Fail(item + " refers to the object " + std::to_string(ref) +
                   ", but the package has " + std::to_string(tables_.header.export_count) +
                   " exports");
    }
    if (ref < 0 && -static_cast<std::int64_t>(ref) > tables_.header.import_count) {
      cursor_.Fail(item + " refers to the object " + std::to_string(ref) +
                   ", but the package has " + std::to_string(tables_.header.import_count) +
                   " imports");
    }
    return ref;
  }

  Cursor& cursor_;
  PackageTables& tables_;
};

PackageTables ReadTables(PackageBytes& source, std::string_view path) {
  PackageTables tables;
  tables.path = path;
  tables.file_size = source.size();
  Cursor cursor(source, path);
  ReadHeader(cursor, tables);
  const PackageHeader& header = tables.header;
  CheckTablePlace(cursor, tables, "name", header.name_count, header.name_offset, kMinNameEntry);
  CheckTablePlace(cursor, tables, "import", header.import_count, header.import_offset,
                  kMinImportEntry);
  CheckTablePlace(cursor, tables, "export", header.export_count, header.export_offset,
                  kMinExportEntry);

  // The tables are read in file order, so the file is read forward only.
  TableReader reader(cursor, tables);
  struct Step {
    std::uint32_t offset;
    void (TableReader::*read)();
  };
  Step steps[] = {{header.name_offset, &TableReader::ReadNames},
                  {header.import_offset, &TableReader::ReadImports},
                  {header.export_offset, &TableReader::ReadExports}};
  std::stable_sort(std::begin(steps), std::end(steps),
                   [](const Step& a, const Step& b) { return a.offset < b.offset; });
  for (const Step& step : steps) (reader.*step.read)();
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
