// quarrix-cli sounds and export, run as a user runs them, whole outputs compared.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"
#include "support/trigger_entries.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;

// Enough for quarrix-cli to start and read the test packages, far too little for a copy of
// 48 MiB names.
constexpr int kMemoryLimitMib = 96;

struct TestSound {
  std::string group;
  std::string name;
  std::string format;
  std::string audio;
  bool broken = false;  // a wrong end offset
};

// A UT2004 package holding the sounds, each group made once, in the order given.
std::string PackageOf(std::string_view package, const std::vector<TestSound>& sounds) {
  std::vector<SoundGroup> groups;
  for (const TestSound& sound : sounds) groups.push_back({sound.group, {sound.name}});
  PackageSpec layout = MakeSoundPackage(package, groups);
  std::vector<SoundData> data;
  for (const TestSound& sound : sounds) {
    SoundData one;
    one.format_name = layout.NameIndex(sound.format);
    one.audio = sound.audio;
    one.properties = {Property::Float(layout.NameIndex("BaseRadius"), 300.0f)};
    if (sound.broken) one.end_offset = 1;
    data.push_back(std::move(one));
  }
  SetSoundData(layout, std::move(data));
  return WritePackage(layout).bytes;
}

std::string Replaced(std::string text, const std::map<std::string, std::string>& values) {
  for (const auto& [key, value] : values) {
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
      text.replace(at, key.size(), value);
      at += value.size();
    }
  }
  return text;
}

class SoundCommandsTest : public ::testing::Test {
 protected:
  SoundCommandsTest() {
    for (const auto& [name, bytes] : MakeSoundTestPackages(ogg_)) packages_.Write(name, bytes);
    packages_.Write("Odd.uax", PackageOf("Odd", {{"", "Beat", "MP3", "ID3\x03 frames"},
                                                 {"Fx", "Theme", "Midi", "MThd"},
                                                 {"", "Broken", "WAV", MakeWave({}), true},
                                                 {"", "Caf\xE9 \t\\", "WAV", MakeWave({})}}));
    packages_.Write("Fun.uax", PackageOf("Fun", {{"Voices", "Laugh", "WAV", laugh_},
                                                 {"Fx", "LAUGH", "WAV", fx_laugh_},
                                                 {"", "Hum", "OGG", ogg_},
                                                 {"", "Beat", "mp3", "ID3 frames"},
                                                 {"", "Theme", "Midi", "MThd"}}));
    packages_.Write("Names.uax", PackageOf("Names", {{"", "a/b", "WAV", "w"},
                                                     {"", "CON", "WAV", "w"},
                                                     {"", "x..y", "WAV", "w"},
                                                     {"", "Tab\tName", "WAV", "w"},
                                                     {"", "Lpt1.x", "WAV", "w"},
                                                     {"", "fine", "WAV", "w"}}));
    packages_.Write("Twin.uax", PackageOf("Twin", {{"", "Boom", "WAV", "top"},
                                                   {"Fx", "boom", "WAV", "in Fx"}}));
    packages_.Write("Same.uax",
                    PackageOf("Same", {{"Fx", "boom", "WAV", "1"}, {"Fx", "BOOM", "WAV", "2"}}));
    packages_.Write("NoSounds.uax", WritePackage(MakeSoundPackage("NoSounds", {})).bytes);
    packages_.Write("Clash.uax", PackageOf("Clash", {{"Fx", "boom", "WAV", "1"},
                                                     {"Fx", "BOOM", "WAV", "2"},
                                                     {"Fx", "Boom", "WAV", "3"},
                                                     {"", "Hum", "WAV", "h"},
                                                     {"", "HUM", "OGG", "H"}}));
    packages_.Write("Long.uax", PackageOf("Long", {{"", long_names_[0], "WAV", "245"},
                                                   {"", long_names_[1], "WAV", "251"}}));
    // A package whose own name is that of a file it would export.
    packages_.Write("Beat.mp3", Slurp(packages_.File("Fun.uax")));
    packages_.Write("Broken.uax", "no package at all");
    packages_.Write("Deep.uax", WritePackage(MakeDeepGroupPackage(17, "G", 2)).bytes);
    packages_.Write("Tail.uax", WriteFakeOggPagesPackage(ogg_, 20, 64 << 10));
  }

  // Replaces {p} by the packages' folder and {d} by the export folder.
  std::string Expand(const std::string& text) const {
    return Replaced(text, {{"{p}", packages_.path()}, {"{d}", out_.File("out")}});
  }

  CliRun Run(const std::vector<std::string>& args) const {
    std::vector<std::string> expanded;
    for (const std::string& arg : args) expanded.push_back(Expand(arg));
    return RunCli(expanded);
  }

  // The files of the export folder and their bytes; none when the folder does not exist.
  std::optional<std::map<std::string, std::string>> Exported() const {
    if (!fs::exists(out_.File("out"))) return std::nullopt;
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(out_.File("out"))) {
      files[entry.path().filename().string()] = entry.is_regular_file()
                                                    ? Slurp(entry.path().string())
                                                : entry.is_directory() ? "(folder)"
                                                                       : "(other)";
    }
    return files;
  }

  const std::string ogg_ = Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg");
  // Names that make file names of 249 and 255 bytes, the longest Linux allows.
  const std::string long_names_[2] = {std::string(245, 'n'), std::string(251, 'n')};
  const std::string laugh_ = MakeWave({22050, 1, 16, 100, 1, ""});
  const std::string fx_laugh_ = MakeWave({8000, 2, 8, 50, 2, ""});
  TempDir packages_;
  TempDir out_;
};

TEST_F(SoundCommandsTest, SoundsListsEachSoundOrSaysWhyNot) {
  const std::string header = "package\tname\tgroup\tformat\trate\tchannels\tbits\tseconds\tbytes\n";
  const std::string voices =
      "Voices.uax\tLaugh\tVoices\twav\t11025\t1\t8\t0.200\t2249\n"
      "Voices.uax\tCheer\tVoices\twav\t22050\t2\t16\t0.200\t17684\n"
      "Voices.uax\tHum\tVoices.Sub\togg\t22050\t2\t-\t0.250\t4249\n"
      "Voices.uax\tTone\t-\twav\t44100\t1\t16\t0.050\t4454\n"
      "Voices.uax\tLAUGH\tFx\twav\t8000\t2\t8\t0.100\t1644\n";
  const std::string ancient = "Ancient.uax\tZap\t-\twav\t11025\t1\t8\t0.010\t154\n";
  std::string tail;
  for (int sound = 0; sound < 20; ++sound) {
    tail += "Tail.uax\tHum\t-\togg\t22050\t2\t-\t-\t" + std::to_string(ogg_.size() + 65536) + "\n";
  }
  const struct {
    std::vector<std::string> args;
    std::string out;
    std::string err;
    int exit_code;
  } cases[] = {
      {{"sounds", "{p}/Voices.uax", "{p}/Classic.uax", "{p}/Ancient.uax"},
       header + voices + "Classic.uax\tBoom\tEffects\twav\t22050\t1\t16\t0.050\t2250\n" +
           "Classic.uax\tPing\tEffects\togg\t22050\t2\t-\t0.250\t4249\n" + ancient,
       "",
       0},
      {{"sounds", "{p}/Odd.uax"},
       header + "Odd.uax\tBeat\t-\tmp3\t-\t-\t-\t-\t11\n" +
           "Odd.uax\tTheme\tFx\tmidi\t-\t-\t-\t-\t4\n" + "Odd.uax\tBroken\t-\t-\t-\t-\t-\t-\t-\n" +
           "Odd.uax\tCaf\\xE9\\x20\\x09\\x5C\t-\twav\t11025\t1\t8\t0.003\t76\n",
       "quarrix-cli: {p}/Odd.uax: Broken: the end offset 1 does not match the end of its data "
       "(410)\n",
       3},
      {{"sounds", "{p}/Broken.uax", "{p}/Missing.uax", "{p}", "/dev/zero", "{p}/Ancient.uax"},
       header + ancient,
       "quarrix-cli: Invalid package file {p}/Broken.uax: bad tag 0x70206F6E (a package starts "
       "with 0x9E2A83C1)\nquarrix-cli: Cannot open file {p}/Missing.uax: no such file\n"
       "quarrix-cli: Cannot open file {p}: it is a folder\n"
       "quarrix-cli: Cannot open file /dev/zero\n",
       3},
      {{"sounds", "{p}/NoSounds.uax"}, header, "", 0},
      // Each package fails alone; 64 KiB of fake Ogg pages take no time.
      {{"sounds", "{p}/Deep.uax", "{p}/Tail.uax", "{p}/Ancient.uax"},
       header + tail + ancient,
       "quarrix-cli: Invalid package file {p}/Deep.uax: group path of Alarm is deeper than 16 "
       "levels\n",
       3},
      {{"sounds", "--json", "{p}/Odd.uax", "{p}/Ancient.uax"},
       "[\n"
       "  {\"package\": \"Odd.uax\", \"name\": \"Beat\", \"group\": null, \"format\": \"mp3\", "
       "\"rate\": null, \"channels\": null, \"bits\": null, \"seconds\": null, \"bytes\": 11},\n"
       "  {\"package\": \"Odd.uax\", \"name\": \"Theme\", \"group\": \"Fx\", \"format\": \"midi\", "
       "\"rate\": null, \"channels\": null, \"bits\": null, \"seconds\": null, \"bytes\": 4},\n"
       "  {\"package\": \"Odd.uax\", \"name\": \"Broken\", \"group\": null, \"format\": null, "
       "\"rate\": null, \"channels\": null, \"bits\": null, \"seconds\": null, \"bytes\": null},\n"
       "  {\"package\": \"Odd.uax\", \"name\": \"Caf\xC3\xA9 \\u0009\\\\\", \"group\": null, "
       "\"format\": \"wav\", \"rate\": 11025, \"channels\": 1, \"bits\": 8, \"seconds\": 0.003, "
       "\"bytes\": 76},\n"
       "  {\"package\": \"Ancient.uax\", \"name\": \"Zap\", \"group\": null, \"format\": \"wav\", "
       "\"rate\": 11025, \"channels\": 1, \"bits\": 8, \"seconds\": 0.010, \"bytes\": 154}\n"
       "]\n",
       "quarrix-cli: {p}/Odd.uax: Broken: the end offset 1 does not match the end of its data "
       "(410)\n",
       3},
      {{"sounds", "--json", "{p}/NoSounds.uax", "{p}/Broken.uax"},
       "[]\n",
       "quarrix-cli: Invalid package file {p}/Broken.uax: bad tag 0x70206F6E (a package starts "
       "with 0x9E2A83C1)\n",
       3},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.args[1]);
    const CliRun run = Run(test.args);
    EXPECT_EQ(run.out, Expand(test.out));
    EXPECT_EQ(run.err, Expand(test.err));
    EXPECT_EQ(run.exit_code, test.exit_code);
  }
}

// A package that needs more memory than there is fails alone, in our words.
TEST_F(SoundCommandsTest, MemoryThatRunsOutIsReportedForThePackage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
  // Reading a sound named by 48 MiB takes several copies of its name.
  packages_.Write(
      "Big.uax", WritePackage(MakeSoundPackage("Big", {{"", {std::string(48 << 20, 'B')}}})).bytes);
  const std::string list = out_.Write("list.txt", Entry("B", 0, "Big.uax") + "\r\n");
  const std::string error = "not enough memory to read {p}/Big.uax";
  const std::vector<std::pair<std::vector<std::string>, CliRun>> cases = {
      {{"sounds", "{p}/Big.uax", "{p}/Ancient.uax"},
       {3,
        "package\tname\tgroup\tformat\trate\tchannels\tbits\tseconds\tbytes\n"
        "Ancient.uax\tZap\t-\twav\t11025\t1\t8\t0.010\t154\n",
        "quarrix-cli: " + error + "\n"}},
      {{"extract", "--sounds-only", "{p}/Ancient.uax", "{p}/Big.uax"},
       {3, "", "quarrix-cli: " + error + "\n"}},
      {{"check", list, "--sounds", "{p}"},
       {1, "1\tunreadable package Big.uax: " + error + "\n", "1 entries, 1 problems\n"}},
  };
  for (const auto& [args, expected] : cases) {
    std::vector<std::string> expanded;
    for (const std::string& arg : args) expanded.push_back(Expand(arg));
    const CliRun run = RunCliInMemory(kMemoryLimitMib, expanded);
    EXPECT_EQ(run.out, Expand(expected.out)) << args[0];
    EXPECT_EQ(run.err, Expand(expected.err)) << args[0];
    EXPECT_EQ(run.exit_code, expected.exit_code) << args[0];
  }
}

TEST_F(SoundCommandsTest, ExportWritesTheStoredBytesAllOrNothing) {
  using Files = std::map<std::string, std::string>;
  const Files fun = {{"Voices.Laugh.wav", laugh_},
                     {"Fx.LAUGH.wav", fx_laugh_},
                     {"Hum.ogg", ogg_},
                     {"Beat.mp3", "ID3 frames"},
                     {"Theme.bin", "MThd"}};
  const std::string fun_paths =
      "{d}/Voices.Laugh.wav\n{d}/Fx.LAUGH.wav\n{d}/Hum.ogg\n{d}/Beat.mp3\n{d}/Theme.bin\n";
  const struct {
    const char* what;
    std::vector<std::string> args;
    Files before;  // in the export folder
    std::string out;
    std::string err;
    int exit_code;
    std::optional<Files> after;
  } cases[] = {
      {"every sound", {"{p}/Fun.uax", "-d", "{d}"}, {}, fun_paths, "", 0, fun},
      {"named ones, case ignored",
       {"{p}/Fun.uax", "hum", "BEAT", "hum", "-d", "{d}"},
       {},
       "{d}/Hum.ogg\n{d}/Beat.mp3\n",
       "",
       0,
       Files{{"Hum.ogg", ogg_}, {"Beat.mp3", "ID3 frames"}}},
      {"names equal but for case",
       {"{p}/Fun.uax", "laugh", "-d", "{d}"},
       {},
       "{d}/Voices.Laugh.wav\n{d}/Fx.LAUGH.wav\n",
       "",
       0,
       Files{{"Voices.Laugh.wav", laugh_}, {"Fx.LAUGH.wav", fx_laugh_}}},
      {"a top-level twin takes the package's name",
       {"{p}/Twin.uax", "-d", "{d}"},
       {},
       "{d}/Twin.Boom.wav\n{d}/Fx.boom.wav\n",
       "",
       0,
       Files{{"Twin.Boom.wav", "top"}, {"Fx.boom.wav", "in Fx"}}},
      {"a missing sound",
       {"{p}/Fun.uax", "Hum", "Nope", "Gone", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {p}/Fun.uax holds no sound Nope\nquarrix-cli: {p}/Fun.uax holds no sound "
       "Gone\n",
       1,
       std::nullopt},
      {"names that are no file names",
       {"{p}/Names.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {p}/Names.uax: a/b: a file name cannot hold '/'\n"
       "quarrix-cli: {p}/Names.uax: CON: CON is a device name on Windows\n"
       "quarrix-cli: {p}/Names.uax: x..y: a file name cannot hold '..'\n"
       "quarrix-cli: {p}/Names.uax: Tab\\x09Name: a file name cannot hold the control character "
       "\\x09\n"
       "quarrix-cli: {p}/Names.uax: Lpt1.x: LPT1 is a device name on Windows\n",
       1,
       std::nullopt},
      {"an existing file",
       {"{p}/Fun.uax", "-d", "{d}"},
       {{"Hum.ogg", "mine"}},
       "",
       "quarrix-cli: {d}/Hum.ogg exists (give --force to replace it)\n",
       3,
       Files{{"Hum.ogg", "mine"}}},
      {"an existing file replaced",
       {"{p}/Fun.uax", "hum", "-d", "{d}", "--force"},
       {{"Hum.ogg", "mine"}, {"Other.wav", "kept"}},
       "{d}/Hum.ogg\n",
       "",
       0,
       Files{{"Hum.ogg", ogg_}, {"Other.wav", "kept"}}},
      {"a folder in the way",
       {"{p}/Fun.uax", "-d", "{d}", "--force"},
       {{"Hum.ogg/", ""}},
       "",
       "quarrix-cli: Cannot create file {d}/Hum.ogg: it is a folder\n",
       3,
       Files{{"Hum.ogg", "(folder)"}}},
      {"a broken sound",
       {"{p}/Odd.uax", "beat", "broken", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {p}/Odd.uax: Broken: the end offset 1 does not match the end of its data "
       "(410)\n",
       3,
       std::nullopt},
      {"an unreadable package",
       {"{p}/Broken.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: Invalid package file {p}/Broken.uax: bad tag 0x70206F6E (a package starts "
       "with 0x9E2A83C1)\n",
       3,
       std::nullopt},
      {"names that clash, each reported once",
       {"{p}/Clash.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {p}/Clash.uax: boom, BOOM and 1 more would all be written to "
       "{d}/Fx.BOOM.wav\n",
       1,
       std::nullopt},
      {"a package without sounds",
       {"{p}/NoSounds.uax", "-d", "{d}"},
       {},
       "",
       "quarrix-cli: {p}/NoSounds.uax holds no sound\n",
       1,
       std::nullopt},
      {"the package read",
       {"{p}/Beat.mp3", "beat", "-d", "{p}", "--force"},
       {},
       "",
       "quarrix-cli: Cannot create file {p}/Beat.mp3: it is one of the packages read\n",
       3,
       std::nullopt},
      {"the longest names",
       {"{p}/Long.uax", "-d", "{d}"},
       {},
       "{d}/" + long_names_[0] + ".wav\n{d}/" + long_names_[1] + ".wav\n",
       "",
       0,
       Files{{long_names_[0] + ".wav", "245"}, {long_names_[1] + ".wav", "251"}}},
      {"a folder that cannot be made",
       {"{p}/Fun.uax", "-d", "{p}/Fun.uax/out"},
       {},
       "",
       "quarrix-cli: Cannot create folder {p}/Fun.uax/out\n",
       3,
       std::nullopt},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    fs::remove_all(out_.File("out"));
    for (const auto& [name, bytes] : test.before) {
      fs::create_directories(out_.File("out"));
      if (name.back() == '/') {
        fs::create_directory(out_.File("out/" + name));
      } else {
        out_.Write("out/" + name, bytes);
      }
    }
    std::vector<std::string> args = {"export"};
    args.insert(args.end(), test.args.begin(), test.args.end());
    const CliRun run = Run(args);
    EXPECT_EQ(run.out, Expand(test.out));
    EXPECT_EQ(run.err, Expand(test.err));
    EXPECT_EQ(run.exit_code, test.exit_code);
    EXPECT_EQ(Exported(), test.after);
  }
}

TEST_F(SoundCommandsTest, ExportNeverReplacesAReadOnlyFileEvenWithForce) {
  fs::create_directories(out_.File("out"));
  const std::string mine = out_.Write("out/Hum.ogg", "mine");
  ASSERT_EQ(::chmod(mine.c_str(), 0444), 0);
  const CliRun run = Run({"export", "{p}/Fun.uax", "-d", "{d}", "--force"});
  EXPECT_EQ(run.err, "quarrix-cli: Cannot create file " + mine + ": permission denied\n");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(Exported(), (std::map<std::string, std::string>{{"Hum.ogg", "mine"}}));
}

TEST_F(SoundCommandsTest, ExportReplacesAPlantedLinkNeverWhatItLeadsToAndNoDevice) {
  const std::string folder = out_.File("out");
  const std::string secret = out_.Write("secret", "root's");
  fs::create_directories(folder);
  fs::create_symlink("../secret", folder + "/Hum.ogg");
  fs::create_symlink("/dev/full", folder + "/Beat.mp3");
  ASSERT_EQ(::mkfifo((folder + "/Theme.bin").c_str(), 0600), 0);
  const struct {
    std::vector<std::string> args;
    std::string out;
    std::string err;
    int exit_code;
  } cases[] = {
      {{"hum", "beat"},
       "",
       "quarrix-cli: {d}/Hum.ogg exists (give --force to replace it)\n"
       "quarrix-cli: {d}/Beat.mp3 exists (give --force to replace it)\n",
       3},
      {{"theme", "--force"}, "", "quarrix-cli: Cannot create file {d}/Theme.bin\n", 3},
      {{"hum", "beat", "--force"}, "{d}/Hum.ogg\n{d}/Beat.mp3\n", "", 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"export", "{p}/Fun.uax", "-d", "{d}"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = Run(args);
    EXPECT_EQ(run.out, Expand(c.out));
    EXPECT_EQ(run.err, Expand(c.err));
    EXPECT_EQ(run.exit_code, c.exit_code);
  }
  EXPECT_EQ(Slurp(secret), "root's");
  EXPECT_EQ(Exported(),
            (std::map<std::string, std::string>{
                {"Hum.ogg", ogg_}, {"Beat.mp3", "ID3 frames"}, {"Theme.bin", "(other)"}}));
  EXPECT_TRUE(fs::is_fifo(folder + "/Theme.bin"));

  // The files are written; only the list of them cannot be.
  const CliRun full =
      RunCli({"export", Expand("{p}/Fun.uax"), "hum", "-d", folder + "/b"}, "/dev/full");
  EXPECT_EQ(full.err, "quarrix-cli: Cannot write to standard output\n");
  EXPECT_EQ(full.exit_code, 3);
}

}  // namespace
}  // namespace quarrix::testing
