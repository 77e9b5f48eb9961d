#include <QApplication>
#include <QWidget>

#include "controls/font_substitutes.h"
#include "extract_tests.h"
#include "support/package_writer.h"

namespace quarrix::testing {

std::string WriteSoundPackage(const TempDir& dir, const std::string& file_name,
                              const std::string& package_name,
                              const std::vector<std::string>& sounds) {
  return dir.Write(file_name, WritePackage(MakeSoundPackage(package_name, {{"", sounds}})).bytes);
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
  failures += quarrix::testing::RunListCheckCommandTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
