// Files named on the command line: taken as a drop on the window takes them, and a refusal
// named through the error display over an empty window.
#include <QTest>

#include <filesystem>

#include "app/program.h"
#include "app_tests.h"
#include "support/package_writer.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

QString Entry(const QString& sound, const QString& file) {
  return QStringLiteral(
             "Quooms=(SoundName=\"%1\",TriggerName=\"%1\",DedicatedOnly=True,HideInMenu=False,"
             "AdminOnly=False,Random=0,Filename=\"%2\")")
      .arg(sound, file);
}

class StartFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void NamesGivenAtStartAreMadeAbsolute() {
    char program[] = "Quarrix", relative[] = "lists/../list.txt", absolute[] = "/srv/a.uax";
    char* argv[] = {program, relative, absolute};
    const std::string here = std::filesystem::current_path().string();
    QCOMPARE(FilesGivenAtStart(3, argv),
             (std::vector<std::string>{here + "/list.txt", "/srv/a.uax"}));
  }

  void FilesGivenAtStartAreTakenAsADrop_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("played");
    QTest::addColumn<int>("options_shown");
    QTest::addColumn<QString>("error");  // "%1" stands for the temporary folder
    const QStringList none;
    QTest::newRow("no files") << none << none << QList<int>() << 0 << "";
    QTest::newRow("a trigger file")
        << QStringList{"list.TXT"} << QStringList{"[QuoomTriggers]", "theirs", ""}
        << QList<int>{0x30} << 0 << "";
    QTest::newRow("packages, in the order of their names")
        << QStringList{"Two.uax", "fun.uax"}
        << QStringList{"[QuoomTriggers]",       Entry("WAV", "fun.uax"),  Entry("Boo", "fun.uax"),
                       Entry("WAV", "Two.uax"), Entry("Horn", "Two.uax"), ""}
        << QList<int>{0x30, 0x40} << 1 << "";
    QTest::newRow("a missing file") << QStringList{"gone.txt"} << none << QList<int>{0x10} << 0
                                    << "Cannot open file %1/gone.txt: no such file.";
    QTest::newRow("a missing package beside one")
        << QStringList{"fun.uax", "gone.uax"} << none << QList<int>{0x10} << 0
        << "Cannot open file %1/gone.uax: no such file.";
    QTest::newRow("a folder") << QStringList{"folder.txt"} << none << QList<int>{0x10} << 0
                              << "Cannot open file %1/folder.txt: it is a folder.";
    QTest::newRow("another kind of file")
        << QStringList{"notes.doc"} << none << QList<int>{0x10} << 0
        << "Cannot open file %1/notes.doc: neither a trigger list nor a package.";
    QTest::newRow("a trigger file with a package")
        << QStringList{"fun.uax", "list.TXT"} << none << QList<int>{0x10} << 0
        << "Cannot open file %1/list.TXT: a trigger list is opened on its own.";
  }
  void FilesGivenAtStartAreTakenAsADrop() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, played);
    QFETCH(int, options_shown);
    QFETCH(QString, error);
    ProgramFixture f;
    const TempDir& dir = f.dir;
    dir.Write("list.TXT", "[QuoomTriggers]\r\ntheirs\r\n");
    dir.Write("Two.uax", WritePackage(MakeSoundPackage("Two", {{"", {"Horn"}}})).bytes);
    dir.Write("fun.uax", WritePackage(MakeSoundPackage("fun", {{"", {"Boo"}}})).bytes);
    dir.Write("notes.doc", "x");
    std::filesystem::create_directory(dir.File("folder.txt"));
    std::vector<std::string> paths;
    for (const QString& name : names) paths.push_back(dir.File(name.toStdString()));
    f.prompts.options_answers = {true};
    f.frmMain().show();

    f.program().Start(paths);
    QCOMPARE(f.Lines(), lines);
    QCOMPARE(f.Played(), played);
    QCOMPARE(f.prompts.options_shown, options_shown);
    QCOMPARE(f.prompts.open_requests.size(), std::size_t{0});
    const std::vector<std::string> errors =
        error.isEmpty()
            ? std::vector<std::string>()
            : std::vector<std::string>{error.arg(QString::fromStdString(dir.path())).toStdString()};
    QCOMPARE(f.prompts.errors, errors);
    if (lines.size() == 3) {
      // The open dialog follows the file, as if it had chosen it.
      QCOMPARE(f.state().current_file, paths[0]);
      QCOMPARE(f.frmMain().OpenDialog1.file_name, paths[0]);
      QCOMPARE(f.frmMain().OpenDialog1.initial_folder, dir.path() + "/");
      QCOMPARE(f.state().unsaved, false);
    }
  }
};

}  // namespace

int RunStartFilesTests(int argc, char** argv) {
  StartFilesTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "start_files_test.moc"
