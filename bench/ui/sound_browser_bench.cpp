// The sound browser over a big set: 5 packages of 400 sounds each, 100 KB of 16-bit audio a
// sound (200 MB in all). How long until it is shown with its rows (the packages' tables and
// every sound's headers read, the table painted), how long one filter update takes, and how
// much memory it adds while it is open and its waveforms are computed.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "extract/frm_choose_sounds.h"
#include "extract/sound_rows.h"
#include "extract/sound_table_model.h"
#include "platform/sound_player.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

constexpr int kPackages = 5;
constexpr int kSoundsEach = 400;
constexpr std::uint32_t kFrames = 50'000;  // 100 KB of 16-bit mono

// Written once for the process, removed at its end.
const std::vector<std::string>& BigSet() {
  static testing::TempDir dir;
  static const std::vector<std::string> paths = [] {
    std::vector<std::string> written;
    for (int p = 0; p < kPackages; ++p) {
      std::vector<std::string> names;
      std::vector<testing::StoredAudio> audio;
      for (int s = 0; s < kSoundsEach; ++s) {
        names.push_back("Sound" + std::to_string(p) + "_" + std::to_string(s));
        audio.push_back({"WAV", testing::MakeWave({.rate = 22050,
                                                   .channels = 1,
                                                   .bits = 16,
                                                   .frames = kFrames,
                                                   .seed = p * kSoundsEach + s,
                                                   .extra_chunks = {}})});
      }
      const std::string name = "Pack" + std::to_string(p);
      written.push_back(
          dir.Write(name + ".uax", testing::WriteSoundPackage(name, {{"Group", names}}, audio)));
    }
    return written;
  }();
  return paths;
}

double ResidentBytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// What Browse Sounds does once the packages are chosen: reads the rows, shows the browser and
// paints its table.
struct ShownBrowser {
  explicit ShownBrowser(const std::vector<std::string>& paths)
      : rows(ReadSoundRows(paths)), browser(rows, player, nullptr) {
    browser.show();
    QApplication::processEvents();
    browser.ListSounds->viewport()->repaint();
  }
  SoundRows rows;
  NoSoundPlayer player;
  TfrmChooseSounds browser;
};

void BM_BrowserShownWithItsRows(benchmark::State& state) {
  const std::vector<std::string>& paths = BigSet();
  std::size_t audio = 0;
  for (auto _ : state) {
    auto shown = std::make_unique<ShownBrowser>(paths);
    audio = shown->rows.audio_bytes;
    state.PauseTiming();
    shown.reset();
    state.ResumeTiming();
  }
  state.counters["sounds"] = kPackages * kSoundsEach;
  state.counters["audio_MB"] = static_cast<double>(audio) / 1e6;
}
BENCHMARK(BM_BrowserShownWithItsRows)->Unit(benchmark::kMillisecond)->Iterations(10);

// One keystroke in the filter box: the rows filtered and the table painted again.
void BM_FilterUpdate(benchmark::State& state) {
  ShownBrowser shown(BigSet());
  const QStringList texts = {"s",       "so",     "sou",   "sound", "sound3", "sound3_", "sound3_1",
                             "sound3_", "sound3", "sound", "sou",   "so",     "s",       ""};
  int next = 0;
  for (auto _ : state) {
    shown.browser.EditFilter->setText(texts[next++ % texts.size()]);
    shown.browser.ListSounds->viewport()->repaint();
  }
}
BENCHMARK(BM_FilterUpdate)->Unit(benchmark::kMillisecond);

// Memory the open browser adds, its waveforms all computed, over the audio bytes it lists.
void BM_MemoryWhileOpen(benchmark::State& state) {
  const std::vector<std::string>& paths = BigSet();
  double most = 0;
  double audio = 0;
  for (auto _ : state) {
    malloc_trim(0);
    const double before = ResidentBytes();
    ShownBrowser shown(paths);
    audio = static_cast<double>(shown.rows.audio_bytes);
    QElapsedTimer waited;
    waited.start();
    while (!shown.browser.Model().AllPeaksDone() && waited.elapsed() < 120'000) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      most = std::max(most, ResidentBytes() - before);
    }
    most = std::max(most, ResidentBytes() - before);
  }
  state.counters["added_MB"] = most / 1e6;
  state.counters["audio_MB"] = audio / 1e6;
  state.counters["added_over_audio"] = most / audio;
}
BENCHMARK(BM_MemoryWhileOpen)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace quarrix
