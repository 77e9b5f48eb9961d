// The freedesktop side of the desktop shortcut: XDG folders read from a temporary HOME,
// launcher files checked byte for byte and by desktop-file-validate.
#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop_icon_command.h"
#include "platform/desktop_launcher_writer.h"
#include "platform/xdg_shell_folders.h"
#include "runtime/errors.h"
#include "runtime/file_io.h"
#include "support/recording_sounds.h"
#include "support/temp_dir.h"

namespace quarrix {
namespace {

namespace fs = std::filesystem;
using testing::RecordingSounds;
using testing::Slurp;
using testing::TempDir;

const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};

// Runs the command with the real services; the FileCreateError text, or "no error".
std::string RunCommand(const std::string& program_folder, RecordingSounds& sounds) {
  XdgShellFolders folders;
  DesktopLauncherWriter writer;
  try {
    CreateDesktopIcon(program_folder, folders, writer, sounds);
  } catch (const FileCreateError& error) {
    return error.what();
  }
  return "no error";
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace

class DesktopLauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void FoldersFollowXdg_data();
  void FoldersFollowXdg();
  void EntryText_data();
  void EntryText();
  void CommandWritesValidLauncher_data();
  void CommandWritesValidLauncher();
  void SecondRunReplacesFirst();
  void FailuresEndWithCannotCreate_data();
  void FailuresEndWithCannotCreate();

 private:
  std::string desktop() const { return home_->path() + "/Schreibtisch"; }
  std::string link_file() const { return desktop() + "/Quoom Extract.desktop"; }

  std::unique_ptr<TempDir> home_;
  std::vector<std::optional<QByteArray>> saved_;
};

void DesktopLauncherTest::init() {
  saved_.clear();
  for (const char* name : kVariables) {
    saved_.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
  }
  home_ = std::make_unique<TempDir>();
  fs::create_directories(home_->path() + "/config");
  fs::create_directories(desktop());
  home_->Write("config/user-dirs.dirs",
               "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  // Qt reads these on every query, so setting them here is enough.
  qputenv("HOME", QByteArray::fromStdString(home_->path()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home_->path() + "/config"));
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home_->path() + "/data"));
}

void DesktopLauncherTest::cleanup() {
  SetFileFaultsForTesting({});
  for (std::size_t i = 0; i < saved_.size(); ++i) {
    if (saved_[i]) {
      qputenv(kVariables[i], *saved_[i]);
    } else {
      qunsetenv(kVariables[i]);
    }
  }
  home_.reset();
}

void DesktopLauncherTest::FoldersFollowXdg_data() {
  QTest::addColumn<int>("folder_id");
  QTest::addColumn<QString>("below_home");  // empty: the folder has no path
  QTest::newRow("Desktop") << kCsidlDesktop << "/Schreibtisch";
  QTest::newRow("MyDocuments") << kCsidlPersonal << "/Dokumente";
  QTest::newRow("ProgramGroups") << kCsidlPrograms << "/data/applications";
  QTest::newRow("StartMenu") << kCsidlStartMenu << "/data/applications";
  QTest::newRow("Startup") << kCsidlStartup << "/config/autostart";
  QTest::newRow("SendTo") << kCsidlSendTo << "";
  QTest::newRow("unknown id") << 0x0001 << "";
}

void DesktopLauncherTest::FoldersFollowXdg() {
  QFETCH(int, folder_id);
  QFETCH(QString, below_home);
  const std::string expected =
      below_home.isEmpty() ? std::string() : home_->path() + below_home.toStdString();
  XdgShellFolders folders;
  QCOMPARE(folders.FolderPath(folder_id), expected);
}

void DesktopLauncherTest::EntryText_data() {
  QTest::addColumn<QByteArray>("target");
  QTest::addColumn<QByteArray>("arguments");
  QTest::addColumn<QByteArray>("folder");
  QTest::addColumn<QByteArray>("exec");
  QTest::addColumn<QByteArray>("path");
  QTest::newRow("plain") << QByteArray("/opt/quarrix/Quarrix") << QByteArray()
                         << QByteArray("/opt/quarrix/") << QByteArray("/opt/quarrix/Quarrix")
                         << QByteArray("/opt/quarrix/");
  QTest::newRow("blanks") << QByteArray("/opt/My Tools/Quarrix") << QByteArray()
                          << QByteArray("/opt/My Tools/") << QByteArray("\"/opt/My Tools/Quarrix\"")
                          << QByteArray("/opt/My Tools/");
  // Inside quotes '"', '`', '$' and '\' take a backslash; the value escape then doubles
  // every backslash.
  QTest::newRow("reserved") << QByteArray("/o/a\"b`c$d\\e'f/Q") << QByteArray()
                            << QByteArray("/o/a\"b`c$d\\e'f/")
                            << QByteArray("\"/o/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e'f/Q\"")
                            << QByteArray("/o/a\"b`c$d\\\\e'f/");
  QTest::newRow("percent") << QByteArray("/o/100%/Q") << QByteArray() << QByteArray("/o/100%/")
                           << QByteArray("/o/100%%/Q") << QByteArray("/o/100%/");
  QTest::newRow("arguments") << QByteArray("/o/Q") << QByteArray("x  -y a&b") << QByteArray("/o/")
                             << QByteArray("/o/Q x -y \"a&b\"") << QByteArray("/o/");
  QTest::newRow("leading blank, tab") << QByteArray(" o/Q") << QByteArray() << QByteArray(" o/\t")
                                      << QByteArray("\" o/Q\"") << QByteArray("\\so/\\t");
}

void DesktopLauncherTest::EntryText() {
  QFETCH(QByteArray, target);
  QFETCH(QByteArray, arguments);
  QFETCH(QByteArray, folder);
  QFETCH(QByteArray, exec);
  QFETCH(QByteArray, path);
  const LinkContents link{target.toStdString(), arguments.toStdString(), folder.toStdString(),
                          "Quoom Extract", 0x0646};
  QCOMPARE(QByteArray::fromStdString(DesktopEntryText(link)),
           "[Desktop Entry]\nType=Application\nName=Quoom Extract\nComment=Quoom Extract\n"
           "Exec=" +
               exec + "\nPath=" + path + "\n");
}

void DesktopLauncherTest::CommandWritesValidLauncher_data() {
  QTest::addColumn<QByteArray>("program_folder");
  QTest::addColumn<QByteArray>("exec");
  QTest::newRow("plain") << QByteArray("/opt/quarrix/") << QByteArray("/opt/quarrix/Quarrix");
  QTest::newRow("blanks") << QByteArray("/home/me/My Tools/")
                          << QByteArray("\"/home/me/My Tools/Quarrix\"");
  QTest::newRow("reserved and percent")
      << QByteArray("/opt/it's $odd 100%/") << QByteArray("\"/opt/it's \\\\$odd 100%%/Quarrix\"");
}

void DesktopLauncherTest::CommandWritesValidLauncher() {
  QFETCH(QByteArray, program_folder);
  QFETCH(QByteArray, exec);
  RecordingSounds sounds;
  QCOMPARE(RunCommand(program_folder.toStdString(), sounds), std::string("no error"));
  QCOMPARE(sounds.played, std::vector<int>{0x40});
  QCOMPARE(QByteArray::fromStdString(Slurp(link_file())),
           "[Desktop Entry]\nType=Application\nName=Quoom Extract\nComment=Quoom Extract\n"
           "Exec=" +
               exec + "\nPath=" + program_folder + "\n");
  struct stat info {};
  QCOMPARE(::stat(link_file().c_str(), &info), 0);
  QCOMPARE(info.st_mode & 07777, mode_t{0755});

  const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
  if (validator.isEmpty()) QSKIP("desktop-file-validate is not installed (desktop-file-utils)");
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(validator, {QString::fromStdString(link_file())});
  QVERIFY(process.waitForFinished(30000));
  const QString output = QString::fromLocal8Bit(process.readAll());
  // Comment equal to Name draws a warning, which is allowed; errors are not.
  QCOMPARE(output.split('\n').filter("error"), QStringList());
  QCOMPARE(process.exitCode(), 0);
}

void DesktopLauncherTest::SecondRunReplacesFirst() {
  RecordingSounds sounds;
  QCOMPARE(RunCommand("/opt/first/", sounds), std::string("no error"));
  QCOMPARE(RunCommand("/opt/second/", sounds), std::string("no error"));
  QCOMPARE(sounds.played, (std::vector<int>{0x40, 0x40}));
  QCOMPARE(Entries(desktop()), std::vector<std::string>{"Quoom Extract.desktop"});
  QCOMPARE(QByteArray::fromStdString(Slurp(link_file())),
           QByteArray("[Desktop Entry]\nType=Application\nName=Quoom Extract\n"
                      "Comment=Quoom Extract\nExec=/opt/second/Quarrix\nPath=/opt/second/\n"));
}

void DesktopLauncherTest::FailuresEndWithCannotCreate_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("desktop folder missing") << "missing";
  QTest::newRow("desktop folder is a file") << "file";
  QTest::newRow("link name is a folder") << "folder";
  QTest::newRow("disk fails while writing") << "fault";
}

void DesktopLauncherTest::FailuresEndWithCannotCreate() {
  QFETCH(QString, how);
  RecordingSounds sounds;
  std::string before;  // what the link file held before the failing run, if anything
  if (how == "missing") {
    fs::remove(desktop());
  } else if (how == "file") {
    fs::remove(desktop());
    home_->Write("Schreibtisch", "not a folder");
  } else if (how == "folder") {
    fs::create_directory(link_file());
  } else {
    QCOMPARE(RunCommand("/opt/first/", sounds), std::string("no error"));
    before = Slurp(link_file());
    sounds.played.clear();
    SetFileFaultsForTesting({{}, [](const std::string&) { return true; }});
  }
  QCOMPARE(RunCommand("/opt/second/", sounds), "Cannot create file " + link_file());
  QCOMPARE(sounds.played, std::vector<int>{});
  if (how == "missing") {
    QCOMPARE(fs::exists(desktop()), false);  // never created
  } else if (how == "file") {
    QCOMPARE(Slurp(desktop()), std::string("not a folder"));
  } else if (how == "folder") {
    QCOMPARE(Entries(link_file()), std::vector<std::string>{});
  } else {
    QCOMPARE(Slurp(link_file()), before);
    QCOMPARE(Entries(desktop()), std::vector<std::string>{"Quoom Extract.desktop"});
  }
}

}  // namespace quarrix

QTEST_GUILESS_MAIN(quarrix::DesktopLauncherTest)
#include "desktop_launcher_test.moc"
