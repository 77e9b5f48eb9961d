#pragma once
// A running program for command tests: the real windows, with scripted questions, recorded
// sounds, a recording sound player, an executable path inside a temporary folder and a quit
// handler that only counts; recovery copies only where a test asks for them.
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/program.h"
#include "editor/syn_edit.h"
#include "support/latin1.h"
#include "support/recording_sound_player.h"
#include "support/recording_sounds.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace quarrix::testing {

class ProgramFixture {
 public:
  // The program lives in <temporary folder>/bin/, which exists and can be written unless
  // the test asks otherwise.
  explicit ProgramFixture(bool writable_program_folder = true, std::string recovery_folder = {})
      : program_(MakeProgram(writable_program_folder, std::move(recovery_folder))) {
    frmMain().SetQuitHandler([this] { ++quits; });
  }

  TfrmMain& frmMain() { return program_->frmMain(); }
  Program& program() { return *program_; }
  ProgramState& state() { return program_->State(); }
  TSynEdit& editor() { return *frmMain().SynEdit1; }

  // The editor's lines, byte for byte (Latin-1), printable by QCOMPARE.
  QStringList Lines() { return Latin1(editor().Lines().Snapshot()); }
  void SetLines(std::vector<std::string> lines) { editor().Lines().Assign(std::move(lines)); }
  QList<int> Played() const { return QList<int>(sounds.played.begin(), sounds.played.end()); }

  TempDir dir;
  RecordingSounds sounds;
  RecordingSoundPlayer player;
  ScriptedPrompts prompts;
  int quits = 0;

 private:
  std::unique_ptr<Program> MakeProgram(bool writable_program_folder, std::string recovery_folder) {
    if (writable_program_folder) std::filesystem::create_directories(dir.File("bin"));
    return std::make_unique<Program>(ProgramSeams{&sounds, &prompts, dir.File("bin/Quarrix"),
                                                  &player, nullptr, std::move(recovery_folder)});
  }

  std::unique_ptr<Program> program_;
};

}  // namespace quarrix::testing
