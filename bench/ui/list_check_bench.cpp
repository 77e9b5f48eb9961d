// Check Trigger List run from the real main window's menu on a list of 100,000 entries over
// 50 packages, up to its result on screen: the message box when the list is clean, the
// problems window (every tenth entry names a sound that is not there) when it is not.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/syn_edit.h"
#include "support/recording_sounds.h"
#include "support/sound_packages.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

constexpr int kPackages = 50;
constexpr int kSounds = 200;
constexpr int kEntries = 100'000;

// Each modal window, once up, painted and closed; then the timer stops.
void CloseModalWhenShown() {
  QTimer::singleShot(0, [] {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      modal->repaint();
      modal->reject();
    } else {
      CloseModalWhenShown();
    }
  });
}

void BM_CheckTriggerListInMainWindow(benchmark::State& state) {
  const bool with_problems = state.range(0) != 0;
  testing::TempDir dir;
  for (int p = 0; p < kPackages; ++p) {
    testing::SoundGroup group{"Voices", {}};
    for (int s = 0; s < kSounds; ++s) group.sounds.push_back("Taunt" + std::to_string(s));
    const std::string name = "Pack" + std::to_string(p);
    dir.Write(name + ".uax", testing::WritePackage(testing::MakeSoundPackage(name, {group})).bytes);
  }
  std::vector<std::string> list = {"[QuoomTriggers]"};
  for (int i = 0; i < kEntries; ++i) {
    std::string sound = "Taunt" + std::to_string((i * 13) % kSounds);
    if (with_problems && i % 10 == 0) sound += "Gone";
    list.push_back("Quooms=(SoundName=\"" + sound + "\",TriggerName=\"t" + std::to_string(i) +
                   "\",DedicatedOnly=True,HideInMenu=False,AdminOnly=False,Random=0,Filename=\"" +
                   "Pack" + std::to_string((i * 7) % kPackages) + ".uax\")");
  }
  testing::RecordingSounds sounds;
  Program program(ProgramSeams{&sounds, nullptr, dir.File("Quarrix")});
  program.State().last_package_folder = dir.path() + "/";
  TfrmMain& window = program.frmMain();
  window.show();
  window.SynEdit1->Lines().Assign(list);
  QApplication::processEvents();
  for (auto _ : state) {
    CloseModalWhenShown();
    window.CheckList1->trigger();
  }
}
// 0: a clean list (the message box); 1: 10,000 problems (the problems window).
BENCHMARK(BM_CheckTriggerListInMainWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarrix
