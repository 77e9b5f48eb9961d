#include "cli/sounds_command.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "extract/package_source.h"
#include "extract/sound_reader.h"
#include "runtime/cp1252.h"

namespace quarrix::cli {
namespace {

constexpr char kHeader[] = "package\tname\tgroup\tformat\trate\tchannels\tbits\tseconds\tbytes\n";

// One sound's line; the values past the group are unset when its data is broken.
struct SoundRow {
  const SoundExport* sound = nullptr;
  std::optional<SoundListing> listing;
};

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// A file name for a tab-separated line: control bytes and the backslash as \xHH.
std::string PrintableFileName(std::string_view name) {
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    text += (byte < 0x20 || byte == 0x7F || c == '\\') ? PrintableName(std::string_view(&c, 1))
                                                       : std::string(1, c);
  }
  return text;
}

std::string TextRow(std::string_view package, const SoundRow& row) {
  const auto number = [](const std::optional<std::uint32_t>& value) {
    return value ? std::to_string(*value) : std::string("-");
  };
  std::string line = PrintableFileName(package) + '\t' + PrintableName(row.sound->name.text) +
                     '\t' + (row.sound->group.empty() ? "-" : PrintableName(row.sound->group));
  if (!row.listing) return line + "\t-\t-\t-\t-\t-\t-\n";
  const AudioFacts& facts = row.listing->facts;
  line += '\t' + PrintableName(LowerAscii(row.listing->audio.format));
  line += '\t' + number(facts.rate) + '\t' + number(facts.channels) + '\t' + number(facts.bits);
  line += '\t' + (facts.seconds ? Seconds(*facts.seconds) : "-");
  line += '\t' + std::to_string(row.listing->audio.size) + '\n';
  return line;
}

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view utf8) {
  std::string text = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
      text += escaped;
    } else {
      text += c;
    }
  }
  return text + '"';
}

std::string JsonRow(std::string_view package, const SoundRow& row) {
  const auto number = [](const std::optional<std::uint32_t>& value) {
    return value ? std::to_string(*value) : std::string("null");
  };
  const PackageName& name = row.sound->name;
  std::string object = "{\"package\": " + JsonString(cp1252::AsUtf8(package));
  object += ", \"name\": " + JsonString(name.utf16 ? name.text : cp1252::ToUtf8(name.text));
  object +=
      ", \"group\": " + (row.sound->group.empty() ? std::string("null")
                                                  : JsonString(cp1252::AsUtf8(row.sound->group)));
  if (!row.listing) {
    return object +
           ", \"format\": null, \"rate\": null, \"channels\": null, \"bits\": null, "
           "\"seconds\": null, \"bytes\": null}";
  }
  const AudioFacts& facts = row.listing->facts;
  object += ", \"format\": " + JsonString(cp1252::AsUtf8(LowerAscii(row.listing->audio.format)));
  object += ", \"rate\": " + number(facts.rate) + ", \"channels\": " + number(facts.channels) +
            ", \"bits\": " + number(facts.bits);
  object += ", \"seconds\": " + (facts.seconds ? Seconds(*facts.seconds) : "null");
  return object + ", \"bytes\": " + std::to_string(row.listing->audio.size) + "}";
}

struct SoundsArgs {
  std::vector<std::string> packages;
  bool json = false;
};

int RunSounds(const SoundsArgs& args) {
  bool failed = false;
  bool first_object = true;
  WriteStdout(args.json ? "[" : kHeader);
  for (const std::string& path : args.packages) {
    // A package's lines are written once all of it has been read: one that cannot be read
    // gets its error and no lines.
    std::string lines;
    std::vector<std::string> sound_errors;
    bool first_of_package = first_object;
    try {
      ReportingMemoryFor(FileWork::kRead, path, [&] {
        const std::unique_ptr<PackageBytes> bytes = OpenPackageBytes(path);
        const PackageTables tables = ReadPackageTables(*bytes, path);
        const std::vector<SoundExport> sounds = FindSoundExports(tables);
        const std::string file_name = PackageFileNameOf(path);
        for (const SoundExport& sound : sounds) {
          SoundRow row{&sound, std::nullopt};
          try {
            row.listing = DescribeSound(*bytes, tables, sound);
          } catch (const SoundDataError& error) {
            sound_errors.emplace_back(error.what());
          }
          if (args.json) {
            lines += (first_of_package ? "\n  " : ",\n  ") + JsonRow(file_name, row);
            first_of_package = false;
          } else {
            lines += TextRow(file_name, row);
          }
        }
      });
    } catch (const QuarrixError& error) {
      PrintError(error.what());
      failed = true;
      continue;
    }
    for (const std::string& error : sound_errors) PrintError(error);
    failed = failed || !sound_errors.empty();
    first_object = first_of_package;
    WriteStdout(lines);
  }
  if (args.json) WriteStdout(first_object ? "]\n" : "\n]\n");
  return failed ? kExitFileError : kExitSuccess;
}

}  // namespace

void AddSoundsCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<SoundsArgs>();
  CLI::App* command = app.add_subcommand(
      "sounds",
      "List the sounds of packages, one per line after a header line: PACKAGE<TAB>NAME<TAB>"
      "GROUP<TAB>FORMAT<TAB>RATE<TAB>CHANNELS<TAB>BITS<TAB>SECONDS<TAB>BYTES; a value the "
      "sound's data does not give is -");
  command
      ->add_option("PACKAGE", args->packages,
                   "Sound packages (.uax, or compressed: .uz2), in this order")
      ->required();
  command->add_flag("--json", args->json,
                    "Write a JSON array of objects with the same keys instead (unknown values "
                    "null, names as UTF-8)");
  command->footer(
      "Exit codes:\n  0  success\n  2  usage error\n  3  a package or a sound's data could not "
      "be read (the others are still listed)\n");
  command->callback([args, &action] { action = [args] { return RunSounds(*args); }; });
}

}  // namespace quarrix::cli
