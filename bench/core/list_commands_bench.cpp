// The list commands at the scale admins run them: quarrix-cli sort and dedupe as whole
// processes on a merged server list of 1,000,000 entries, sort against GNU sort in the same
// run, and the duplicate check on input built to make it slow.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listedit/duplicates.h"
#include "listedit/trigger_file.h"
#include "support/temp_dir.h"

#if !defined(_WIN32) && defined(QUARRIX_CLI)
#define QUARRIX_PROCESS_BENCHMARKS 1
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

extern char** environ;
#endif

namespace quarrix {
namespace {

// A merged list: `entries` entries (CR LF) whose sound names are drawn with a fixed seed from
// 50,000 distinct names, with 50 package names; about 130 bytes an entry.
std::vector<std::string> MergedServerList(std::size_t entries) {
  static const char* const kSyllables[] = {"Ba",  "Doh", "Kra",  "Lo",  "Mi",   "Nu", "Ow", "Pe",
                                           "Qua", "Ro",  "Sa",   "Ta",  "Uh",   "Vo", "Wa", "Xe",
                                           "Yo",  "Zu",  "Boom", "Hit", "Yell", "Cry"};
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  const auto next = [&state](std::uint64_t bound) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state % bound;
  };
  std::vector<std::string> names;
  for (std::uint64_t id = 0; names.size() < 50'000; ++id) {
    std::string name;
    for (std::uint64_t rest = id / 100, parts = 0; parts == 0 || rest > 0; rest /= 22, ++parts) {
      name += kSyllables[rest % 22];
    }
    if (next(10) == 0) name[0] = static_cast<char>(name[0] - 'A' + 'a');
    names.push_back(name + std::to_string(id % 100));
  }
  std::vector<std::string> packages;
  for (int p = 0; p < 50; ++p) {
    std::string package = "P";
    package += std::to_string(10 + p);
    package += kSyllables[p % 22];
    package += ".uax";
    packages.push_back(package);
  }
  const auto flag = [&next] { return next(2) == 0 ? "True" : "False"; };
  std::vector<std::string> lines{"[QuoomTriggers]"};
  lines.reserve(entries + 2);
  for (std::size_t i = 0; i < entries; ++i) {
    const std::string& sound = names[next(names.size())];
    lines.push_back("Quooms=(SoundName=\"" + sound + "\",TriggerName=\"" + sound +
                    "\",DedicatedOnly=" + flag() + ",HideInMenu=" + flag() +
                    ",AdminOnly=" + flag() + ",Random=" + std::to_string(next(4)) + ",Filename=\"" +
                    packages[next(packages.size())] + "\")");
  }
  lines.emplace_back();
  return lines;
}

#ifdef QUARRIX_PROCESS_BENCHMARKS

struct ChildRun {
  double seconds = 0;
  double peak_bytes = 0;  // 0 when it could not be measured
};

// Runs a program to its end: its wall time and, through /usr/bin/time when there is one,
// its own peak resident set. (A child's ru_maxrss from wait4 starts from its parent's
// high-water mark, which here is the benchmark's, so it cannot be used.)
ChildRun RunChild(std::vector<std::string> argv, bool c_locale, const std::string& peak_file) {
  const bool timed = ::access("/usr/bin/time", X_OK) == 0;
  if (timed) {
    argv.insert(argv.begin(), {"/usr/bin/time", "-f", "%M", "-o", peak_file});
  }
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) {
    if (!c_locale || std::string(*e).rfind("LC_ALL=", 0) != 0) env_strings.emplace_back(*e);
  }
  if (c_locale) env_strings.emplace_back("LC_ALL=C");
  std::vector<char*> env;
  for (std::string& entry : env_strings) env.push_back(entry.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  ChildRun run;
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    run.seconds = -1;
    return run;
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (timed) {
    std::ifstream peak(peak_file);
    double kilobytes = 0;
    if (peak >> kilobytes) run.peak_bytes = kilobytes * 1024.0;
  }
  return run;
}

// One merged list on disk for all the process benchmarks.
const std::string& MergedListFile() {
  static testing::TempDir dir;
  static const std::string path = [] {
    const std::string file = dir.File("merged.txt");
    WriteTriggerFile(file, MergedServerList(1'000'000), TSynEditFileFormat::sffDos);
    return file;
  }();
  return path;
}

double FileSize(const std::string& path) {
  return static_cast<double>(std::filesystem::file_size(path));
}

// quarrix-cli sort against LC_ALL=C sort -f -t, -k1,1 -s, alternating; the counters give
// each one's seconds, their ratio, and the CLI's peak memory over the file's size.
void BM_CliSortAgainstGnuSort(benchmark::State& state) {
  const std::string& list = MergedListFile();
  const std::string out = list + ".out";
  double ours = 0, theirs = 0, peak = 0;
  for (auto _ : state) {
    const ChildRun quarrix =
        RunChild({QUARRIX_CLI, "sort", list, "-o", out}, false, list + ".peak");
    const ChildRun gnu =
        RunChild({"sort", "-f", "-t,", "-k1,1", "-s", list, "-o", out}, true, list + ".peak");
    if (quarrix.seconds < 0 || gnu.seconds < 0) {
      state.SkipWithError("a sort failed");
      return;
    }
    ours += quarrix.seconds;
    theirs += gnu.seconds;
    peak = std::max(peak, quarrix.peak_bytes);
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["quarrix_s"] = ours / runs;
  state.counters["gnu_sort_s"] = theirs / runs;
  state.counters["ratio"] = ours / theirs;
  state.counters["peak_per_file_byte"] = peak / FileSize(list);
}
BENCHMARK(BM_CliSortAgainstGnuSort)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

void BM_CliDedupe(benchmark::State& state) {
  const std::string& list = MergedListFile();
  const std::string out = list + ".out";
  double peak = 0;
  for (auto _ : state) {
    const ChildRun run = RunChild({QUARRIX_CLI, "dedupe", list, "-o", out}, false, list + ".peak");
    if (run.seconds < 0) {
      state.SkipWithError("dedupe failed");
      return;
    }
    state.SetIterationTime(run.seconds);
    peak = std::max(peak, run.peak_bytes);
  }
  state.counters["peak_per_file_byte"] = peak / FileSize(list);
}
BENCHMARK(BM_CliDedupe)->Iterations(3)->Unit(benchmark::kMillisecond)->UseManualTime();

#endif

// The duplicate check as quarrix-cli dedupe runs it: the merged list in one buffer, its
// lines as views, so the figure is the check's own cost without the file's reading.
void BM_FindDuplicatesInOneBuffer(benchmark::State& state) {
  const std::string buffer =
      FormatTriggerFile(MergedServerList(1'000'000), TSynEditFileFormat::sffDos);
  const std::vector<std::string_view> views = SplitTriggerLines(buffer);
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindDuplicates(views).kept.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(views.size()));
}
BENCHMARK(BM_FindDuplicatesInOneBuffer)->Unit(benchmark::kMillisecond);

// Kept keys of every length from 1 to 2,000 that share their first four bytes, then lines
// of a 2,000-byte run without a comma that could hold any of them. Before the check was
// bounded, each such line cost about run length x key length; now about its length.
void BM_CheckDuplicatesAdversarial(benchmark::State& state) {
  std::vector<std::string> lines{"[QuoomTriggers]"};
  constexpr std::size_t kLongest = 2000;
  for (std::size_t length = 1; length <= kLongest; ++length) {
    lines.push_back("QQQQ" + std::string(length, 'y') + ",");
  }
  for (std::int64_t i = 0; i < state.range(0); ++i)
    lines.push_back(std::string(kLongest, 'Q') + ",");
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size();
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindDuplicates(views).kept.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_CheckDuplicatesAdversarial)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
