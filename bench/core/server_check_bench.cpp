// quarrix-cli check against a whole server: N packages of 200 sounds each (about 1 MB a
// package; N = 1,000 is the 1 GB server), a list of 10,000 entries over them and each
// package's .uz2 copy in a redirect folder, made once in a temporary folder. N is the
// benchmarks' argument: QUARRIX_SERVER_PACKAGES sets it (100 unless set), so a loaded
// machine can measure a smaller server. Compare in one run:
//   BM_ServerCheckSounds      the check as `check --sounds` does it (list, folders, packages)
//   BM_ServerCheckRedirect    the same with `--redirect`, the copies compared on every core
//   BM_ServerInflateOneThread the copies only unpacked, on one thread: the speed to beat
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "extract/list_check.h"
#include "extract/uz2_reader.h"
#include "extract/uz2_writer.h"
#include "listedit/trigger_file.h"
#include "runtime/file_write.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

constexpr int kSoundsPerPackage = 200;
constexpr int kEntries = 10'000;
constexpr std::uint32_t kFramesPerSound = 2'600;  // 16-bit mono: about 5 KB a sound

int PackagesToMake() {
  const char* set = std::getenv("QUARRIX_SERVER_PACKAGES");
  const int packages = set != nullptr ? std::atoi(set) : 100;
  return packages > 0 ? packages : 100;
}

// The wave's samples replaced by a tone with a little noise, which compresses as recorded
// sounds do (random samples would be stored, not deflated, and unpack at copying speed).
std::string Toned(std::string wave, int seed) {
  constexpr std::size_t kHeader = 44;
  std::uint32_t noise = static_cast<std::uint32_t>(seed) + 1;
  for (std::size_t at = kHeader, k = 0; at + 1 < wave.size(); at += 2, ++k) {
    noise = noise * 1664525u + 1013904223u;
    const double tone = 6000 * std::sin(0.02 * static_cast<double>(k) * (1 + seed % 7));
    const auto sample = static_cast<std::int16_t>(tone + static_cast<int>(noise >> 24) - 128);
    wave[at] = static_cast<char>(sample & 0xFF);
    wave[at + 1] = static_cast<char>((sample >> 8) & 0xFF);
  }
  return wave;
}

std::string PackageName(int p) { return "Server" + std::to_string(p); }

// Sounds/ with the packages, Redirect/ with their copies, and the list.
struct Server {
  testing::TempDir dir;
  std::string sounds;
  std::string redirect;
  std::string list;
  std::int64_t package_bytes = 0;
  std::vector<std::string> copies;

  explicit Server(int packages)
      : sounds(dir.File("Sounds")), redirect(dir.File("Redirect")), list(dir.File("list.txt")) {
    std::filesystem::create_directories(sounds);
    std::filesystem::create_directories(redirect);
    for (int p = 0; p < packages; ++p) {
      testing::SoundGroup group{"Voices", {}};
      std::vector<testing::StoredAudio> audio;
      for (int s = 0; s < kSoundsPerPackage; ++s) {
        group.sounds.push_back("Taunt" + std::to_string(s));
        testing::WaveShape shape;
        shape.rate = 22050;
        shape.bits = 16;
        shape.frames = kFramesPerSound;
        shape.seed = p * kSoundsPerPackage + s;
        audio.push_back({"WAV", Toned(testing::MakeWave(shape), s)});
      }
      const std::string file = PackageName(p) + ".uax";
      const std::string bytes = testing::WriteSoundPackage(PackageName(p), {group}, audio);
      package_bytes += static_cast<std::int64_t>(bytes.size());
      WriteFileAtomic(sounds + "/" + file, bytes);
      copies.push_back(redirect + "/" + file + ".uz2");
      WriteFileAtomic(copies.back(), CompressedPackagePieces(bytes));
    }
    std::string text = "[QuoomTriggers]\r\n";
    for (int i = 0; i < kEntries; ++i) {
      const std::string sound = "Taunt" + std::to_string((i * 13) % kSoundsPerPackage);
      text += "Quooms=(SoundName=\"" + sound + "\",TriggerName=\"t" + std::to_string(i) +
              "\",DedicatedOnly=True,HideInMenu=False,AdminOnly=False,Random=0,Filename=\"" +
              PackageName((i * 7) % packages) + ".uax\")\r\n";
    }
    WriteFileAtomic(list, text);
  }
};

const Server& ServerOf(int packages) {
  static std::map<int, std::unique_ptr<Server>> made;
  auto& server = made[packages];
  if (!server) server = std::make_unique<Server>(packages);
  return *server;
}

// Reads the list and checks it as quarrix-cli check does; false when a problem was found.
bool CheckServer(const Server& server, bool with_redirect, unsigned threads) {
  const TriggerFileText text = ReadTriggerFile(server.list);
  PackageLookup lookup({server.sounds});
  lookup.ListFolders();
  PackageLookup redirect({server.redirect});
  ServerChecks checks;
  checks.threads = threads;
  if (with_redirect) {
    redirect.ListFolders();
    checks.redirect = &redirect;
  }
  const ListCheck check = CheckTriggerList(text.lines, lookup, checks);
  return check.entries == kEntries && check.problems.empty();
}

void BM_ServerCheckSounds(benchmark::State& state) {
  const Server& server = ServerOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!CheckServer(server, false, 0)) state.SkipWithError("unexpected problems");
  }
  state.counters["package_MB"] = static_cast<double>(server.package_bytes) / 1e6;
}

void BM_ServerCheckRedirect(benchmark::State& state) {
  const Server& server = ServerOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!CheckServer(server, true, static_cast<unsigned>(state.range(1)))) {
      state.SkipWithError("unexpected problems");
    }
  }
  state.SetBytesProcessed(state.iterations() * server.package_bytes);
}

// Unpacking alone, one copy after another: what one thread of zlib does with these files.
void BM_ServerInflateOneThread(benchmark::State& state) {
  const Server& server = ServerOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::int64_t unpacked = 0;
    for (const std::string& copy : server.copies) {
      Uz2Reader(copy).ReadAll(
          [&unpacked](std::string_view piece) {
            unpacked += static_cast<std::int64_t>(piece.size());
          },
          1);
    }
    if (unpacked != server.package_bytes) state.SkipWithError("unexpected size");
  }
  state.SetBytesProcessed(state.iterations() * server.package_bytes);
}

const int kPackages = PackagesToMake();
BENCHMARK(BM_ServerCheckSounds)->Arg(kPackages)->Unit(benchmark::kMillisecond);
// The second argument is the number of threads: 0 is one per processor.
BENCHMARK(BM_ServerCheckRedirect)
    ->Args({kPackages, 0})
    ->Args({kPackages, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ServerInflateOneThread)->Arg(kPackages)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quarrix
