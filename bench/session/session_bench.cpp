// An admin's session on a 1,000,000-line trigger list as the admin meets it: each repetition
// starts a fresh process that shows the real main window (offscreen) and runs Open Trigger
// File, Sort Alphabetically, Check for Duplicates and Save from the menu, each up to the
// editor's repaint. Reported per step: the CPU time of the process (user + system, from
// getrusage between the steps), the wall time and the pages faulted in; and the process's
// peak resident set, also less what it held with the empty window, per byte of the file.
//
// The warm benchmarks in bench/ui run the same steps after others in one process; these
// figures include what only a fresh process pays (first touch of its memory, a cold heap).
// The list is a gathered one of a million lines, or the file given as --list=PATH.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/syn_edit.h"
#include "listedit/trigger_file.h"
#include "support/gathered_list.h"
#include "support/recording_sounds.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

extern char** environ;

namespace quarrix {
namespace {

constexpr const char* kChildFlag = "--session-child";
constexpr std::size_t kLines = 1'000'000;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Pages the process has faulted in so far: each is a first touch of memory, whose price
// differs much between machines (a virtual machine may pay the host for every one).
double PageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_minflt + usage.ru_majflt);
}

// A figure of /proc/self/status in bytes: VmRSS now, VmHWM the peak. The peak of getrusage
// would start from the parent's, which the new process inherits at exec.
double StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) {
      return std::strtod(line.c_str() + field.size() + 1, nullptr) * 1024;
    }
  }
  return 0;
}

// The child: runs the session on `list`, saves to `saved`, writes "name value" lines to
// `report`. Returns the process's exit code.
int RunSession(int argc, char** argv, const std::string& list, const std::string& saved,
               const std::string& report) {
  std::map<std::string, double> figures;
  QApplication application(argc, argv);
  ReturnLargeBlocksToTheSystem();  // as main() does
  testing::RecordingSounds sounds;
  testing::ScriptedPrompts prompts;
  Program program(ProgramSeams{&sounds, &prompts, "/opt/quarrix/Quarrix"});
  TfrmMain& window = program.frmMain();
  window.show();
  QApplication::processEvents();
  // From exec on: the libraries' loading counts too.
  figures["start_cpu_s"] = CpuSeconds();
  figures["empty_window_peak_bytes"] = StatusBytes("VmHWM");

  const auto step = [&](const std::string& name, const std::function<void()>& run) {
    const double cpu = CpuSeconds();
    const double faults = PageFaults();
    const auto wall = std::chrono::steady_clock::now();
    run();
    QApplication::processEvents();
    figures[name + "_cpu_s"] = CpuSeconds() - cpu;
    figures[name + "_faults"] = PageFaults() - faults;
    figures[name + "_wall_s"] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    figures[name + "_rss_bytes"] = StatusBytes("VmRSS");
    figures[name + "_peak_bytes"] = StatusBytes("VmHWM");
  };
  prompts.open_answers = {list};
  prompts.save_answers = {saved};
  step("open", [&] { window.OpenFile1->trigger(); });
  step("sort", [&] { window.MenuAlphatize->trigger(); });
  step("check", [&] { window.CheckDuplicates1->trigger(); });
  step("save", [&] { window.btnSave->click(); });
  figures["peak_bytes"] = StatusBytes("VmHWM");
  figures["lines"] = window.SynEdit1->Lines().Count();
  figures["errors"] = static_cast<double>(prompts.errors.size());

  std::ofstream out(report);
  for (const auto& [name, value] : figures) out << name << ' ' << value << '\n';
  return out.good() ? 0 : 1;
}

// Runs this program again as the child and returns its figures; empty when it failed.
std::map<std::string, double> RunChild(const std::string& list, const std::string& saved,
                                       const std::string& report) {
  std::string self = "/proc/self/exe";
  std::vector<std::string> args = {self, kChildFlag, list, saved, report};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return {};
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  std::map<std::string, double> figures;
  std::ifstream in(report);
  std::string name;
  double value = 0;
  while (in >> name >> value) figures[name] = value;
  return figures;
}

// The list a run opens (--list=PATH); without one, a gathered list of kLines lines.
std::string& GivenList() {
  static std::string path;
  return path;
}

void BM_FreshProcessSession(benchmark::State& state) {
  testing::TempDir dir;
  std::string list = GivenList();
  if (list.empty()) {
    list = dir.File("huge.txt");
    WriteTriggerFile(list, testing::GatheredList(kLines), TSynEditFileFormat::sffDos);
  }
  const auto file_bytes = static_cast<double>(std::filesystem::file_size(list));
  for (auto _ : state) {
    const std::map<std::string, double> figures =
        RunChild(list, dir.File("saved.txt"), dir.File("report.txt"));
    if (figures.empty()) {
      state.SkipWithError("the session's process failed");
      return;
    }
    const double mib = 1024.0 * 1024.0;
    for (const std::string name : {"open", "sort", "check", "save"}) {
      state.counters[name + "_cpu_s"] = figures.at(name + "_cpu_s");
      state.counters[name + "_wall_s"] = figures.at(name + "_wall_s");
      state.counters[name + "_faults"] = figures.at(name + "_faults");
      // The peak so far, after the step: where it grows tells which step needed the memory.
      state.counters[name + "_peak_MiB"] = figures.at(name + "_peak_bytes") / mib;
    }
    state.counters["start_cpu_s"] = figures.at("start_cpu_s");
    state.counters["open_rss_MiB"] = figures.at("open_rss_bytes") / mib;
    state.counters["check_rss_MiB"] = figures.at("check_rss_bytes") / mib;
    state.counters["peak_MiB"] = figures.at("peak_bytes") / mib;
    state.counters["empty_window_MiB"] = figures.at("empty_window_peak_bytes") / mib;
    // The target: the session's peak above the empty window's, per byte of the file.
    state.counters["peak_over_file"] =
        (figures.at("peak_bytes") - figures.at("empty_window_peak_bytes")) / file_bytes;
    state.counters["lines"] = figures.at("lines");
    state.counters["errors"] = figures.at("errors");
  }
  state.counters["file_MiB"] = file_bytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_FreshProcessSession)->Iterations(1)->Repetitions(5)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quarrix

int main(int argc, char** argv) {
  // The window needs a platform; without a display the offscreen one serves.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc == 5 && std::string(argv[1]) == quarrix::kChildFlag) {
    int qt_argc = 1;
    return quarrix::RunSession(qt_argc, argv, argv[2], argv[3], argv[4]);
  }
  // --list=PATH is ours; Google Benchmark must not see it.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--list=", 0) == 0) {
      quarrix::GivenList() = arg.substr(7);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
