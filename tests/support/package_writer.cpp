#include "support/package_writer.h"

#include <cstring>
#include <stdexcept>
#include <utility>

namespace quarrix::testing {
namespace {

// The first version whose names carry a compact length, the first whose header holds a GUID
// and generations instead of a heritage table, the first whose sounds record the offset past
// their audio.
constexpr std::uint16_t kNameLengthVersion = 64;
constexpr std::uint16_t kGenerationVersion = 68;
constexpr std::uint16_t kSoundOffsetVersion = 62;

void AppendU16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void AppendU32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void AppendI32(std::string& out, std::int32_t value) {
  AppendU32(out, static_cast<std::uint32_t>(value));
}

void PatchU32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::uint32_t Offset(const std::string& out) { return static_cast<std::uint32_t>(out.size()); }

void CheckName(const PackageSpec& layout, int index) {
  if (index < 0 || index >= static_cast<int>(layout.names.size())) {
    throw std::invalid_argument("name index out of range: " + std::to_string(index));
  }
}

void AppendName(std::string& out, const NameEntry& name, std::uint16_t version) {
  const bool wide = name.encoding == NameEntry::Encoding::kUtf16;
  if (version < kNameLengthVersion) {
    if (wide) throw std::invalid_argument("UTF-16 names need version 64 or later");
    if (name.ansi.find('\0') != std::string::npos) {
      throw std::invalid_argument("a zero-terminated name cannot hold a zero byte");
    }
    out += name.ansi;
    out += '\0';
  } else if (wide) {
    AppendCompactIndex(out, -static_cast<std::int32_t>(name.utf16.size() + 1));
    for (const char16_t unit : name.utf16) AppendU16(out, static_cast<std::uint16_t>(unit));
    AppendU16(out, 0);
  } else {
    AppendCompactIndex(out, static_cast<std::int32_t>(name.ansi.size() + 1));
    out += name.ansi;
    out += '\0';
  }
  AppendU32(out, name.flags);
}

void AppendSize(std::string& out, std::int32_t size, int bytes) {
  if (bytes == 1) out += static_cast<char>(size);
  if (bytes == 2) AppendU16(out, static_cast<std::uint16_t>(size));
  if (bytes == 4) AppendI32(out, size);
}

void AppendProperty(std::string& out, const Property& property) {
  AppendCompactIndex(out, property.name);
  const std::int32_t size =
      property.size.value_or(static_cast<std::int32_t>(property.value.size()));
  // Sizes 1, 2, 4, 12 and 16 have their own codes; others follow the info byte.
  int code = -1;
  const std::int32_t coded[] = {1, 2, 4, 12, 16};
  for (int i = 0; i < 5 && property.size_bytes == 0; ++i) {
    if (size == coded[i]) code = i;
  }
  int size_bytes = 0;
  if (code < 0) {
    size_bytes = property.size_bytes != 0 ? property.size_bytes
                 : size <= 0xFF           ? 1
                 : size <= 0xFFFF         ? 2
                                          : 4;
    code = size_bytes == 1 ? 5 : size_bytes == 2 ? 6 : 7;
  }
  std::uint8_t info = static_cast<std::uint8_t>(property.type | (code << 4));
  if (property.type == Property::kBool ? property.bool_value : property.array_index >= 0) {
    info |= 0x80;
  }
  out += static_cast<char>(info);
  if (property.type == Property::kStruct) AppendCompactIndex(out, property.struct_name);
  AppendSize(out, size, size_bytes);
  if (property.type != Property::kBool && property.array_index >= 0) {
    // 1 byte below 128, 2 bytes (first 10xxxxxx) below 16384, else 4 (first 11xxxxxx).
    const auto index = static_cast<std::uint32_t>(property.array_index);
    if (index < 0x80) {
      out += static_cast<char>(index);
    } else if (index < 0x4000) {
      out += static_cast<char>(0x80 | (index >> 8));
      out += static_cast<char>(index & 0xFF);
    } else {
      out += static_cast<char>(0xC0 | (index >> 24));
      out += static_cast<char>((index >> 16) & 0xFF);
      out += static_cast<char>((index >> 8) & 0xFF);
      out += static_cast<char>(index & 0xFF);
    }
  }
  out += property.value;
}

void AppendSound(std::string& out, const SoundData& sound, int none_index,
                 const PackageSpec& layout) {
  for (const Property& property : sound.properties) {
    CheckName(layout, property.name);
    AppendProperty(out, property);
  }
  AppendCompactIndex(out, none_index);
  AppendCompactIndex(out, sound.format_name);
  if (SoundHasFloat(layout.version, layout.licensee)) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &sound.after_format, sizeof bits);
    AppendU32(out, bits);
  }
  const std::string count =
      CompactIndex(sound.audio_size.value_or(static_cast<std::int32_t>(sound.audio.size())));
  if (layout.version >= kSoundOffsetVersion) {
    AppendU32(out,
              sound.end_offset.value_or(
                  Offset(out) + 4 + static_cast<std::uint32_t>(count.size() + sound.audio.size())));
  }
  out += count;
  out += sound.audio;
}

Guid GuidOf(std::string_view text) {
  std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
  Guid guid{};
  for (std::size_t i = 0; i < guid.size(); ++i) {
    for (const char c : text) {
      hash ^= static_cast<std::uint8_t>(c);
      hash *= 1099511628211ull;
    }
    hash ^= i;
    hash *= 1099511628211ull;
    guid[i] = static_cast<std::uint8_t>(hash >> 56);
  }
  return guid;
}

}  // namespace

Property Property::Float(int name, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  Property property;
  property.name = name;
  property.type = kFloat;
  AppendU32(property.value, bits);
  return property;
}

Property Property::Int(int name, std::int32_t value) {
  Property property;
  property.name = name;
  property.type = kInt;
  AppendI32(property.value, value);
  return property;
}

Property Property::Bool(int name, bool value) {
  Property property;
  property.name = name;
  property.type = kBool;
  property.bool_value = value;
  return property;
}

Property Property::Name(int name, int value) {
  Property property;
  property.name = name;
  property.type = kName;
  property.value = CompactIndex(value);
  return property;
}

Property Property::Struct(int name, int struct_name, std::string value) {
  Property property;
  property.name = name;
  property.type = kStruct;
  property.value = std::move(value);
  property.struct_name = struct_name;
  return property;
}

Property Property::Array(int name, std::string value) {
  Property property;
  property.name = name;
  property.type = kArray;
  property.value = std::move(value);
  return property;
}

std::string PropertyBytes(const Property& property) {
  std::string out;
  AppendProperty(out, property);
  return out;
}

bool SoundHasFloat(std::uint16_t version, std::uint16_t licensee) {
  return (version >= 117 && version <= 119 && licensee >= 25 && licensee <= 27) ||
         (version == 120 && (licensee == 27 || licensee == 28)) ||
         (version >= 121 && version <= 128 && licensee == 29);
}

std::string MakeWave(const WaveShape& shape) {
  const std::uint32_t block = shape.channels * (shape.bits / 8u);
  const std::uint32_t data_size = shape.frames * block;
  std::string wave = "RIFF";
  AppendU32(wave, static_cast<std::uint32_t>(36 + shape.extra_chunks.size() + data_size));
  wave += "WAVEfmt ";
  AppendU32(wave, 16);
  AppendU16(wave, 1);  // PCM
  AppendU16(wave, shape.channels);
  AppendU32(wave, shape.rate);
  AppendU32(wave, shape.rate * block);  // bytes per second
  AppendU16(wave, static_cast<std::uint16_t>(block));
  AppendU16(wave, shape.bits);
  wave += shape.extra_chunks;
  wave += "data";
  AppendU32(wave, data_size);
  for (std::uint32_t k = 0; k < data_size; ++k) {
    wave += static_cast<char>(96 + (k * static_cast<std::uint32_t>(7 + shape.seed)) % 64);
  }
  return wave;
}

NameEntry NameEntry::Ansi(std::string text, std::uint32_t flags) {
  NameEntry name;
  name.ansi = std::move(text);
  name.flags = flags;
  return name;
}

NameEntry NameEntry::Utf16(std::u16string text, std::uint32_t flags) {
  NameEntry name;
  name.encoding = Encoding::kUtf16;
  name.utf16 = std::move(text);
  name.flags = flags;
  return name;
}

int PackageSpec::AddName(NameEntry name) {
  names.push_back(std::move(name));
  return static_cast<int>(names.size()) - 1;
}

int PackageSpec::FindName(std::string_view text) const {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].encoding == NameEntry::Encoding::kAnsi && names[i].ansi == text) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int PackageSpec::NameIndex(std::string_view text, std::uint32_t flags) {
  const int found = FindName(text);
  return found >= 0 ? found : AddName(NameEntry::Ansi(std::string(text), flags));
}

void AppendCompactIndex(std::string& out, std::int32_t value) {
  const bool negative = value < 0;
  std::uint32_t rest =
      negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  std::uint8_t first = static_cast<std::uint8_t>(rest & 0x3F);
  if (negative) first |= 0x80;
  rest >>= 6;
  if (rest != 0) first |= 0x40;
  out += static_cast<char>(first);
  // Three more bytes carry 7 bits each; a fifth carries the last 8.
  for (int byte = 1; byte < 5 && rest != 0; ++byte) {
    std::uint8_t next;
    if (byte < 4) {
      next = static_cast<std::uint8_t>(rest & 0x7F);
      rest >>= 7;
      if (rest != 0) next |= 0x80;
    } else {
      next = static_cast<std::uint8_t>(rest);
      rest = 0;
    }
    out += static_cast<char>(next);
  }
}

std::string CompactIndex(std::int32_t value) {
  std::string out;
  AppendCompactIndex(out, value);
  return out;
}

WrittenPackage WritePackage(const PackageSpec& layout) {
  WrittenPackage written;
  std::string& out = written.bytes;
  const int none_index = layout.FindName("None");

  AppendU32(out, kPackageTag);
  AppendU16(out, layout.version);
  AppendU16(out, layout.licensee);
  AppendU32(out, layout.package_flags);
  AppendI32(out, static_cast<std::int32_t>(layout.names.size()));
  const std::size_t name_offset_at = out.size();
  AppendU32(out, 0);
  AppendI32(out, static_cast<std::int32_t>(layout.exports.size()));
  const std::size_t export_offset_at = out.size();
  AppendU32(out, 0);
  AppendI32(out, static_cast<std::int32_t>(layout.imports.size()));
  const std::size_t import_offset_at = out.size();
  AppendU32(out, 0);

  if (layout.version >= kGenerationVersion) {
    out.append(reinterpret_cast<const char*>(layout.guid.data()), layout.guid.size());
    const std::vector<Generation> generations = layout.generations.value_or(
        std::vector<Generation>{{static_cast<std::int32_t>(layout.exports.size()),
                                 static_cast<std::int32_t>(layout.names.size())}});
    AppendI32(out, static_cast<std::int32_t>(generations.size()));
    for (const Generation& generation : generations) {
      AppendI32(out, generation.export_count);
      AppendI32(out, generation.name_count);
    }
  } else {
    const std::vector<Guid> heritage =
        layout.heritage.empty() ? std::vector<Guid>{layout.guid} : layout.heritage;
    AppendI32(out, static_cast<std::int32_t>(heritage.size()));
    const std::size_t heritage_offset_at = out.size();
    AppendU32(out, 0);
    written.heritage_offset = Offset(out);
    PatchU32(out, heritage_offset_at, written.heritage_offset);
    for (const Guid& guid : heritage)
      out.append(reinterpret_cast<const char*>(guid.data()), guid.size());
  }

  written.name_offset = Offset(out);
  PatchU32(out, name_offset_at, written.name_offset);
  for (const NameEntry& name : layout.names) {
    written.name_entry_offsets.push_back(Offset(out));
    AppendName(out, name, layout.version);
  }

  written.import_offset = Offset(out);
  PatchU32(out, import_offset_at, written.import_offset);
  for (const ImportEntry& entry : layout.imports) {
    CheckName(layout, entry.class_package);
    CheckName(layout, entry.class_name);
    CheckName(layout, entry.object_name);
    AppendCompactIndex(out, entry.class_package);
    AppendCompactIndex(out, entry.class_name);
    AppendI32(out, entry.outer);
    AppendCompactIndex(out, entry.object_name);
  }

  for (const ExportEntry& entry : layout.exports) {
    const std::uint32_t start = Offset(out);
    if (const auto* raw = std::get_if<std::string>(&entry.data)) {
      out += *raw;
    } else {
      const SoundData& sound = std::get<SoundData>(entry.data);
      if (none_index < 0) throw std::invalid_argument("a sound needs the name None");
      CheckName(layout, sound.format_name);
      AppendSound(out, sound, none_index, layout);
    }
    const std::uint32_t size = Offset(out) - start;
    written.serial_sizes.push_back(size);
    written.serial_offsets.push_back(size > 0 ? start : 0);
  }

  written.export_offset = Offset(out);
  PatchU32(out, export_offset_at, written.export_offset);
  for (std::size_t i = 0; i < layout.exports.size(); ++i) {
    const ExportEntry& entry = layout.exports[i];
    CheckName(layout, entry.object_name);
    AppendCompactIndex(out, entry.class_ref);
    AppendCompactIndex(out, entry.super_ref);
    AppendI32(out, entry.outer);
    AppendCompactIndex(out, entry.object_name);
    AppendU32(out, entry.object_flags);
    AppendCompactIndex(out, static_cast<std::int32_t>(written.serial_sizes[i]));
    if (written.serial_sizes[i] > 0) {
      AppendCompactIndex(out, static_cast<std::int32_t>(written.serial_offsets[i]));
    }
  }
  out += layout.trailer;
  return written;
}

PackageSpec MakeSoundPackage(std::string_view package_name, const std::vector<SoundGroup>& groups) {
  PackageSpec layout;
  layout.guid = GuidOf(package_name);
  const int none = layout.AddName(NameEntry::Ansi("None", kTaggedNativeNameFlags));
  const int core = layout.AddName(NameEntry::Ansi("Core", kNativeNameFlags));
  const int engine = layout.AddName(NameEntry::Ansi("Engine", kNativeNameFlags));
  const int package = layout.AddName(NameEntry::Ansi("Package", kTaggedNativeNameFlags));
  const int class_name = layout.AddName(NameEntry::Ansi("Class", kTaggedNativeNameFlags));
  const int sound = layout.AddName(NameEntry::Ansi("Sound", kNativeNameFlags));
  const int wav = layout.AddName(NameEntry::Ansi("WAV", kNameFlags));
  layout.NameIndex(package_name);

  layout.imports = {
      {core, package, 0, engine},                 // the package Engine
      {core, class_name, ImportRef(0), sound},    // its class Sound
      {core, package, 0, core},                   // the package Core
      {core, class_name, ImportRef(2), package},  // its class Package
  };
  const std::int32_t sound_class = ImportRef(1);
  const std::int32_t package_class = ImportRef(3);

  const auto add_group = [&](std::string_view name, std::int32_t group_outer) {
    ExportEntry group_export;
    group_export.class_ref = package_class;
    group_export.outer = group_outer;
    group_export.object_name = layout.NameIndex(name);
    group_export.data = CompactIndex(none);  // no properties
    layout.exports.push_back(std::move(group_export));
    return ExportRef(static_cast<int>(layout.exports.size()) - 1);
  };
  // The group paths made so far, so that the groups enclosing a dotted group are made once.
  std::vector<std::pair<std::string, std::int32_t>> made;
  const auto made_group = [&made](std::string_view path) {
    for (const auto& [known, ref] : made) {
      if (known == path) return ref;
    }
    return std::int32_t{0};
  };
  const auto last_part = [](std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? path : path.substr(dot + 1);
  };

  int seed = 0;
  for (const SoundGroup& group : groups) {
    std::int32_t outer = 0;
    if (!group.name.empty()) {
      const std::string_view path = group.name;
      for (std::size_t dot = path.find('.'); dot != std::string_view::npos;
           dot = path.find('.', dot + 1)) {
        const std::string_view parent = path.substr(0, dot);
        std::int32_t ref = made_group(parent);
        if (ref == 0) {
          ref = add_group(last_part(parent), outer);
          made.emplace_back(std::string(parent), ref);
        }
        outer = ref;
      }
      outer = add_group(last_part(path), outer);
      if (made_group(path) == 0) made.emplace_back(std::string(path), outer);
    }
    for (const std::string& sound_name : group.sounds) {
      ExportEntry sound_export;
      sound_export.class_ref = sound_class;
      sound_export.outer = outer;
      sound_export.object_name = layout.NameIndex(sound_name);
      WaveShape wave;
      wave.seed = seed++;
      SoundData data;
      data.format_name = wav;
      data.audio = MakeWave(wave);
      sound_export.data = std::move(data);
      layout.exports.push_back(std::move(sound_export));
    }
  }
  return layout;
}

PackageSpec MakeDeepGroupPackage(int levels, const std::string& group_name, int sounds,
                                 const std::string& sound_name) {
  PackageSpec layout = MakeSoundPackage(
      "Deep", {{"", std::vector<std::string>(static_cast<std::size_t>(sounds), sound_name)}});
  const int none = layout.FindName("None");
  const int name = layout.NameIndex(group_name);
  std::int32_t outer = 0;
  for (int level = 0; level < levels; ++level) {
    ExportEntry group;
    group.class_ref = ImportRef(3);  // Core.Package, as MakeSoundPackage imports it
    group.outer = outer;
    group.object_name = name;
    group.data = CompactIndex(none);
    layout.exports.push_back(std::move(group));
    outer = ExportRef(static_cast<int>(layout.exports.size()) - 1);
  }
  for (int sound = 0; sound < sounds; ++sound)
    layout.exports[static_cast<std::size_t>(sound)].outer = outer;
  return layout;
}

PackageSpec MakeDemoPackage() {
  return MakeSoundPackage(
      "Demo", {{"Voices",
                {"Laugh", "Laugh1", "Laugh2", "Cheer", "Cheer1", "Cheer2", "Cheer3", "Boo", "Hello",
                 "Goodbye", "Yes", "No", "Ouch", "Ouch1", "Wow", "GameOver"}},
               {"Effects",
                {"Horn", "Horn1", "Horn2", "Bell", "Whistle", "Drum", "Drum1", "Drum2", "Applause",
                 "Crickets", "Gong", "Buzzer", "Siren", "Pop"}}});
}

std::string NameEntryBytes(std::string_view text, std::uint32_t flags) {
  std::string out;
  out += static_cast<char>(text.size() + 1);
  out += text;
  out += '\0';
  AppendU32(out, flags);
  return out;
}

}  // namespace quarrix::testing
