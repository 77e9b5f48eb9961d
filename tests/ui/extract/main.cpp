#include <QApplication>
#include <QProcess>
#include <QWidget>

#include "controls/font_substitutes.h"
#include "extract/package_extraction.h"
#include "extract_tests.h"
#include "support/package_writer.h"
#include "support/sound_packages.h"

namespace quarrix::testing {

std::string WriteSoundPackage(const TempDir& dir, const std::string& file_name,
                              const std::string& package_name,
                              const std::vector<std::string>& sounds) {
  return dir.Write(file_name, WritePackage(MakeSoundPackage(package_name, {{"", sounds}})).bytes);
}

std::vector<std::string> WriteBrowsedPackages(const TempDir& dir) {
  std::vector<std::string> paths;
  for (const auto& [name, bytes] :
       MakeSoundTestPackages(Slurp(QUARRIX_SOURCE_DIR "/tests/data/tiny.ogg"))) {
    paths.push_back(dir.Write(name, bytes));
  }
  const std::string drone = MakeWave({.rate = 1, .frames = 600, .seed = 7, .extra_chunks = {}});
  paths.push_back(
      dir.Write("Long.uax", WriteSoundPackage("Long", {{"", {"Drone", "Bad\tName"}}},
                                              {{"WAV", drone}, {"WAV", MakeWave({})}})));
  SortByFileName(paths);
  return paths;
}

QByteArray CliOutput(const QStringList& arguments) {
  QProcess cli;
  cli.start(QStringLiteral(QUARRIX_CLI_PATH), QStringList{"extract"} + arguments);
  if (!cli.waitForFinished(30000)) return "quarrix-cli did not finish";
  return cli.readAllStandardOutput();
}

QStringList CliLines(const QStringList& arguments) {
  const QList<QByteArray> pieces = CliOutput(arguments).split('\n');
  QStringList lines;
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    QByteArray line = pieces[i];
    // Every break is CR LF; the text after the last break is the list's last line.
    const bool broken = i + 1 < pieces.size();
    if (broken && line.endsWith('\r'))
      line.chop(1);
    else if (broken)
      line += "<LF without CR>";
    lines << QString::fromLatin1(line);
  }
  return lines;
}

FakeHome::FakeHome() : saved_(qgetenv("HOME")), had_home_(qEnvironmentVariableIsSet("HOME")) {
  qputenv("HOME", QByteArray::fromStdString(dir_.path()));
}

FakeHome::~FakeHome() {
  if (had_home_) {
    qputenv("HOME", saved_);
  } else {
    qunsetenv("HOME");
  }
}

WhenModal::WhenModal(std::function<void(QWidget* modal)> action) : action_(std::move(action)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (done_ || modal == nullptr) return;
    done_ = true;
    timer_.stop();
    action_(modal);
  });
  timer_.start(10);
}

}  // namespace quarrix::testing

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quarrix::InstallFontSubstitutes();
  int failures = 0;
  failures += quarrix::testing::RunOptionsDialogTests(argc, argv);
  failures += quarrix::testing::RunExtractionCommandTests(argc, argv);
  failures += quarrix::testing::RunSeveralPackagesTests(argc, argv);
  failures += quarrix::testing::RunExtractionEndToEndTests(argc, argv);
  failures += quarrix::testing::RunSoundBrowserTests(argc, argv);
  failures += quarrix::testing::RunBrowseSoundsTests(argc, argv);
  failures += quarrix::testing::RunListCheckCommandTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
