#include "cli/sounds_only.h"

#include "cli/cli_output.h"
#include "extract/package_extraction.h"

namespace quarrix::cli {

namespace {

void AppendHex(std::string& text, unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  text += "\\x";
  text += kDigits[byte >> 4];
  text += kDigits[byte & 0xF];
}

}  // namespace

std::string EscapedName(const PackageName& name) {
  std::string text;
  for (const char c : name.text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if ((byte >= 0x20 && byte <= 0x7E) || (name.utf16 && byte >= 0x80)) {
      text += c;
    } else {
      AppendHex(text, byte);
    }
  }
  return text;
}

TriggerSounds ReadTriggerSounds(const std::string& path, VariantSearch search) {
  TriggerSounds sounds = ReadPackageSounds(path, search);
  ReportSkippedSounds(path, sounds.skipped);
  return sounds;
}

void ReportSkippedSounds(const std::string& path, std::span<const SoundExport> skipped) {
  for (const SoundExport& sound : skipped) {
    PrintError("warning: " + path + ": skipped the sound \"" + EscapedName(sound.name) +
               "\": " + std::string(SoundNameProblem(sound.name).value_or("")));
  }
}

}  // namespace quarrix::cli
