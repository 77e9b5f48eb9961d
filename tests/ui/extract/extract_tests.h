#pragma once
// The Qt Test classes of the options dialog, the extraction command and the list check, run
// one after another by one executable, and what they share.
#include <QByteArray>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quarrix::testing {

int RunOptionsDialogTests(int argc, char** argv);
int RunExtractionCommandTests(int argc, char** argv);
int RunSeveralPackagesTests(int argc, char** argv);
int RunExtractionEndToEndTests(int argc, char** argv);
int RunSoundBrowserTests(int argc, char** argv);
int RunBrowseSoundsTests(int argc, char** argv);
int RunListCheckCommandTests(int argc, char** argv);

// The sound test packages (sound_packages.h) and Long.uax (Drone, said to last ten minutes, and
// a name no entry can hold) in dir, their paths in the order of their file names: Ancient.uax
// (Zap), Classic.uax (Boom, Ping), Long.uax, Voices.uax (Laugh, Cheer, Hum, Tone, LAUGH).
std::vector<std::string> WriteBrowsedPackages(const TempDir& dir);

// What quarrix-cli extract writes with the given arguments, and the same as lines (a line break
// other than CR LF marked on its line).
QByteArray CliOutput(const QStringList& arguments);
QStringList CliLines(const QStringList& arguments);

// Writes a UT2004 sound package named package_name (its sounds at the top level) into dir
// as file_name and returns its path.
std::string WriteSoundPackage(const TempDir& dir, const std::string& file_name,
                              const std::string& package_name,
                              const std::vector<std::string>& sounds);

// Points HOME at a fresh folder for as long as it lives, so the default sound folders
// under the home are the test's own.
class FakeHome {
 public:
  FakeHome();
  ~FakeHome();
  FakeHome(const FakeHome&) = delete;
  FakeHome& operator=(const FakeHome&) = delete;
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  QByteArray saved_;
  bool had_home_;
};

// Runs `action` on the active modal window as soon as one is up (polled by a timer), once.
// For answering a dialog that a command shows with exec().
class WhenModal {
 public:
  explicit WhenModal(std::function<void(QWidget* modal)> action);
  bool done() const { return done_; }

 private:
  std::function<void(QWidget*)> action_;
  QTimer timer_;
  bool done_ = false;
};

}  // namespace quarrix::testing
