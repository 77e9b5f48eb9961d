// Files dropped on the window: one trigger file is opened, packages go to Get Quooms without
// its package dialog, anything else is refused with the plain beep; text still drops into the
// editor.
#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <filesystem>

#include "app_tests.h"
#include "editor/syn_edit.h"
#include "extract/frm_config.h"
#include "support/package_writer.h"
#include "support/program_fixture.h"
#include "support/uz2_files.h"

namespace quarrix::testing {
namespace {

constexpr int kNo = 7;

QString Entry(const QString& sound, const QString& file) {
  return QStringLiteral(
             "Quooms=(SoundName=\"%1\",TriggerName=\"%1\",DedicatedOnly=True,HideInMenu=False,"
             "AdminOnly=False,Random=0,Filename=\"%2\")")
      .arg(sound, file);
}

// A file manager's drag: the files as URLs and, as most of them add, their paths as text.
std::unique_ptr<QMimeData> FilesDrag(const std::vector<std::string>& paths) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  QStringList text;
  for (const std::string& path : paths) {
    urls << QUrl::fromLocalFile(QString::fromStdString(path));
    text << QString::fromStdString(path);
  }
  data->setUrls(urls);
  data->setText(text.join('\n'));
  return data;
}

// Drags data into the widget at pos and drops it there, as Qt delivers a drag from another
// program; true when the drop was accepted.
bool DragAndDrop(QWidget* target, const QMimeData& data, QPoint pos) {
  QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

class FileDropTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFixture> f_;
  ProgramFixture& f() { return *f_; }
  std::string Package(const std::string& name, const std::string& sound) {
    return f().dir.Write(name + ".uax",
                         WritePackage(MakeSoundPackage(name, {{"", {sound}}})).bytes);
  }

 private slots:
  void init() {
    f_ = std::make_unique<ProgramFixture>();
    f().SetLines({"[QuoomTriggers]", "mine", ""});
    f().state().unsaved = true;
  }
  void cleanup() { f_.reset(); }

  void PackagesDroppedOnTheEditorAreTakenByGetQuooms() {
    const std::string two = Package("Two", "Horn");
    // A compressed package is named in its entries, and in the proposed file, without .uz2.
    const std::string fun = f().dir.Write("fun.uax.uz2", ZlibUz2(Slurp(Package("fun", "Boo"))));
    std::filesystem::remove(f().dir.File("fun.uax"));
    f().frmMain().show();
    f().prompts.options_answers = {true};
    f().prompts.message_answers = {kNo};
    TSynEdit& editor = f().editor();
    QVERIFY(DragAndDrop(editor.viewport(), *FilesDrag({two, fun}), QPoint(40, 10)));
    // The command runs once the drop is over.
    QTRY_COMPARE(f().Played(), QList<int>({0x30, 0, 0x40}));
    QCOMPARE(f().prompts.options_shown, 1);
    QCOMPARE(f().prompts.open_requests.size(), std::size_t{0});
    QCOMPARE(f().prompts.errors, std::vector<std::string>());
    // In the order of their file names; the walk lists the audio format's name too.
    QCOMPARE(f().Lines(),
             QStringList({"[QuoomTriggers]", Entry("WAV", "fun.uax"), Entry("Boo", "fun.uax"),
                          Entry("WAV", "Two.uax"), Entry("Horn", "Two.uax"), ""}));
    QCOMPARE(f().state().current_file, f().state().program_folder + "Q_fun.txt");
  }

  void ATriggerFileDroppedOnTheWindowIsOpened() {
    const std::string list = f().dir.Write("List.TXT", "[QuoomTriggers]\r\ntheirs\r\n");
    f().frmMain().show();
    f().prompts.message_answers = {kNo};
    QVERIFY(DragAndDrop(f().frmMain().btnSave, *FilesDrag({list}), QPoint(5, 5)));
    QTRY_COMPARE(f().Played(), QList<int>({0, 0x30}));
    QCOMPARE(f().Lines(), QStringList({"[QuoomTriggers]", "theirs", ""}));
    QCOMPARE(f().state().current_file, list);
    QCOMPARE(f().state().unsaved, false);
  }

  void EverythingElseIsRefusedWithThePlainBeep_data() {
    QTest::addColumn<QStringList>("names");
    QTest::newRow("two trigger files") << QStringList{"a.txt", "b.ini"};
    QTest::newRow("a package and a trigger file") << QStringList{"Pack.uax", "a.txt"};
    QTest::newRow("another ending") << QStringList{"notes.doc"};
    QTest::newRow("a folder") << QStringList{"folder.uax"};
  }
  void EverythingElseIsRefusedWithThePlainBeep() {
    QFETCH(QStringList, names);
    Package("Pack", "Boo");
    f().dir.Write("a.txt", "x");
    f().dir.Write("b.ini", "x");
    f().dir.Write("notes.doc", "x");
    std::filesystem::create_directory(f().dir.File("folder.uax"));
    std::vector<std::string> paths;
    for (const QString& name : names) paths.push_back(f().dir.File(name.toStdString()));
    f().frmMain().show();
    QVERIFY(DragAndDrop(f().editor().viewport(), *FilesDrag(paths), QPoint(40, 10)));
    QTRY_COMPARE(f().Played(), QList<int>({0}));
    QCOMPARE(f().prompts.options_shown, 0);
    QCOMPARE(f().prompts.messages.size(), std::size_t{0});
    QCOMPARE(f().Lines(), QStringList({"[QuoomTriggers]", "mine", ""}));
  }

  void TextAndLinksStillDropIntoTheEditor() {
    f().frmMain().show();
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.org/Fun.uax"))});
    link.setText(QStringLiteral("https://example.org/Fun.uax"));
    TSynEdit& editor = f().editor();
    // At the start of the second line.
    const QPoint at(2 - editor.LeftChar() * editor.CharWidth() + 1,
                    (2 - editor.TopLine()) * editor.LineHeight() + 2);
    QVERIFY(DragAndDrop(editor.viewport(), link, at));
    QCOMPARE(f().Lines(), QStringList({"[QuoomTriggers]", "https://example.org/Fun.uaxmine", ""}));
    QTest::qWait(20);
    QCOMPARE(f().Played(), QList<int>());
  }
};

}  // namespace

int RunFileDropTests(int argc, char** argv) {
  FileDropTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "file_drop_test.moc"
