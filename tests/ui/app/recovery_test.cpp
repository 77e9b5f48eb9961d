// The recovery copy of unsaved work: written once typing stops, gone with the work, offered at
// the next start (also after the window was ended by SIGTERM, SIGHUP or SIGINT), kept apart between
// two windows, and a broken one set aside.
#include <signal.h>

#include <QDateTime>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <functional>

#include "app/recovery_keeper.h"
#include "app_tests.h"
#include "listedit/recovery_copy.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kYes = 6;
constexpr int kNo = 7;

// A window keeping its copies in `folder`, its list "[QuoomTriggers]" and a line typed after it.
std::unique_ptr<ProgramFixture> Typed(const std::string& folder, const char* typed) {
  auto f = std::make_unique<ProgramFixture>(true, folder);
  f->frmMain().show();
  f->SetLines({"[QuoomTriggers]", ""});
  f->editor().SetCaretXY({1, 2});
  QTest::keyClicks(&f->editor(), QString::fromUtf8(typed));
  return f;
}

RecoveryKeeper& Keeper(ProgramFixture& f) { return *f.frmMain().Recovery(); }

RecoveryCopy CopyAt(const std::string& path) { return DecodeRecoveryCopy(Slurp(path)).copy; }

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  return names;
}

// Seconds since 1970 of a local time.
std::int64_t LocalTime(int hour, int minute) {
  return QDateTime(QDate(2026, 3, 4), QTime(hour, minute, 30)).toSecsSinceEpoch();
}

class RecoveryTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> data_;
  std::string folder_;

 private slots:
  void init() {
    data_ = std::make_unique<TempDir>();
    folder_ = data_->File("recovery");
  }

  void ACopyIsWrittenOnceTypingStops() {
    auto f = Typed(folder_, "Quooms");
    f->state().current_file = "/lists/Q_Fun.txt";
    f->state().line_breaks = TSynEditFileFormat::sffUnix;
    auto* timer = Keeper(*f).findChild<QTimer*>(QStringLiteral("RecoveryTimer"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 2000);
    QVERIFY(Keeper(*f).CopyPath().empty());
    timer->start(0);  // the quiet time, over at once
    QTRY_VERIFY(!Keeper(*f).CopyPath().empty() && fs::exists(Keeper(*f).CopyPath()));
    const RecoveryCopy copy = CopyAt(Keeper(*f).CopyPath());
    QCOMPARE(copy.text, std::string("[QuoomTriggers]\nQuooms"));
    QCOMPARE(copy.proposed_file, std::string("/lists/Q_Fun.txt"));
    QCOMPARE(copy.line_breaks, TSynEditFileFormat::sffUnix);
    QVERIFY(std::abs(copy.saved_at - QDateTime::currentSecsSinceEpoch()) < 60);
    QCOMPARE(FilesIn(folder_), (std::vector<std::string>{
                                   fs::path(Keeper(*f).CopyPath()).filename().string(),
                                   fs::path(Keeper(*f).CopyPath()).filename().string() + ".lock"}));
  }

  void TheCopyGoesWithTheWork_data() {
    QTest::addColumn<std::function<void(ProgramFixture&)>>("command");
    QTest::newRow("saved") << std::function<void(ProgramFixture&)>([](ProgramFixture& f) {
      f.prompts.save_answers = {f.dir.File("saved.txt")};
      f.frmMain().btnSaveClick();
    });
    QTest::newRow("cleared") << std::function<void(ProgramFixture&)>(
        [](ProgramFixture& f) { f.frmMain().ClearCurrent1Click(); });
    QTest::newRow("exit, not saved") << std::function<void(ProgramFixture&)>([](ProgramFixture& f) {
      f.prompts.message_answers = {kNo};
      f.frmMain().btnQuitClick();
    });
    QTest::newRow("closed, not saved")
        << std::function<void(ProgramFixture&)>([](ProgramFixture& f) {
             f.prompts.message_answers = {kNo};
             f.frmMain().close();
           });
  }
  void TheCopyGoesWithTheWork() {
    QFETCH(std::function<void(ProgramFixture&)>, command);
    auto f = Typed(folder_, "x");
    QCOMPARE(Keeper(*f).WriteNow(), std::nullopt);
    const std::string copy = Keeper(*f).CopyPath();
    QVERIFY(fs::exists(copy));
    command(*f);
    QTRY_VERIFY(!fs::exists(copy));
    QVERIFY(!Keeper(*f).findChild<QTimer*>()->isActive());
    QCOMPARE(f->prompts.errors, std::vector<std::string>());
  }

  void TheNextStartOffersEachCopyNewestFirst() {
    fs::create_directories(folder_);
    const RecoveryCopy older{"/l/old.txt", TSynEditFileFormat::sffMac, LocalTime(9, 5),
                             "[QuoomTriggers]\rold\r"};
    const RecoveryCopy newer{"", TSynEditFileFormat::sffDos, LocalTime(17, 45), "new"};
    data_->Write("recovery/a.recovery", RecoveryHeader(older) + older.text);
    data_->Write("recovery/b.recovery", RecoveryHeader(newer) + newer.text);
    ProgramFixture f(true, folder_);
    f.frmMain().show();
    f.prompts.message_answers = {kNo, kYes};
    f.program().Start({});
    QCOMPARE(f.prompts.messages.size(), std::size_t{2});
    QCOMPARE(f.prompts.messages[0].text,
             std::string("Recover the unsaved trigger list from 2026-03-04 17:45?"));
    QCOMPARE(f.prompts.messages[1].text,
             std::string("Recover the unsaved trigger list from 2026-03-04 09:05?"));
    QCOMPARE(f.prompts.messages[1].buttons, std::string("mbYes,mbNo"));
    QCOMPARE(f.Played(), QList<int>({0x20, 0x20}));
    // No deleted the newer copy; Yes put the older one in the window as unsaved work.
    QVERIFY(!fs::exists(folder_ + "/b.recovery"));
    QCOMPARE(f.Lines(), QStringList({"[QuoomTriggers]", "old", ""}));
    QCOMPARE(f.state().unsaved, true);
    QCOMPARE(f.frmMain().btnSave->isEnabled(), true);
    QCOMPARE(f.state().current_file, std::string("/l/old.txt"));
    QCOMPARE(Keeper(f).CopyPath(), folder_ + "/a.recovery");
    // Saved, it is the same bytes, and its copy goes.
    f.prompts.save_answers = {f.dir.File("again.txt")};
    f.frmMain().btnSaveClick();
    QCOMPARE(Slurp(f.dir.File("again.txt")), older.text);
    QTRY_VERIFY(!fs::exists(folder_ + "/a.recovery"));
  }

  void TwoWindowsKeepTheirOwnCopies() {
    auto first = Typed(folder_, "first");
    QCOMPARE(Keeper(*first).WriteNow(), std::nullopt);
    auto second = std::make_unique<ProgramFixture>(true, folder_);
    second->program().Start({});
    QCOMPARE(second->prompts.messages.size(), std::size_t{0});
    second->SetLines({"second"});
    second->state().unsaved = true;
    QCOMPARE(Keeper(*second).WriteNow(), std::nullopt);
    QVERIFY(Keeper(*second).CopyPath() != Keeper(*first).CopyPath());
    QCOMPARE(CopyAt(Keeper(*first).CopyPath()).text, std::string("[QuoomTriggers]\r\nfirst"));
    QCOMPARE(CopyAt(Keeper(*second).CopyPath()).text, std::string("second"));
    // Once the first window is gone, its copy is offered.
    const std::string left = Keeper(*first).CopyPath();
    first.reset();
    ProgramFixture third(true, folder_);
    third.prompts.message_answers = {kYes};
    third.program().Start({});
    QCOMPARE(third.prompts.messages.size(), std::size_t{1});
    QCOMPARE(Keeper(third).CopyPath(), left);
  }

  void BrokenCopiesAreSetAsideAndAFolderThatCannotBeMadeStopsNothing() {
    fs::create_directories(folder_ + "/unreadable.recovery");
    const RecoveryCopy good{"", TSynEditFileFormat::sffDos, 1, "text"};
    const std::string cut = (RecoveryHeader(good) + good.text).substr(0, 30);
    data_->Write("recovery/cut.recovery", cut);
    ProgramFixture f(true, folder_);
    f.program().Start({});
    QCOMPARE(f.prompts.messages.size(), std::size_t{0});
    QCOMPARE(f.prompts.errors, std::vector<std::string>());
    QCOMPARE(FilesIn(folder_),
             (std::vector<std::string>{"cut.recovery.broken", "unreadable.recovery.broken"}));
    QCOMPARE(Slurp(folder_ + "/cut.recovery.broken"), cut);

    // A recovery folder below a regular file: no copy, and the window goes on.
    auto blocked = Typed(data_->Write("file", "x") + "/recovery", "x");
    QCOMPARE(Keeper(*blocked).WriteNow(), "Cannot create file " + data_->File("file/recovery"));
    blocked->program().Start({});
    QCOMPARE(blocked->prompts.errors, std::vector<std::string>());
  }

  void ACopyOutlivesAnEndingSignal_data() {
    QTest::addColumn<int>("signal_number");
    QTest::addColumn<bool>("asking");  // the save question of Exit is up
    QTest::newRow("SIGTERM") << SIGTERM << false;
    QTest::newRow("SIGHUP") << SIGHUP << false;
    QTest::newRow("SIGINT") << SIGINT << false;
    QTest::newRow("SIGTERM, asking") << SIGTERM << true;
  }
  void ACopyOutlivesAnEndingSignal() {
    QFETCH(int, signal_number);
    QFETCH(bool, asking);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{QString::fromStdString(folder_), QStringLiteral("Quooms=(\xe9)")};
    if (asking) arguments << QStringLiteral("ask");
    child.start(QStringLiteral(QUARRIX_RECOVERY_CHILD), arguments);
    QVERIFY(child.waitForStarted());
    for (const QByteArray& said :
         asking ? QByteArrayList{"typed\n", "asking\n"} : QByteArrayList{"typed\n"}) {
      while (!child.canReadLine()) QVERIFY(child.waitForReadyRead());
      QCOMPARE(child.readLine(), said);
    }
    ::kill(static_cast<pid_t>(child.processId()), signal_number);
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 128 + signal_number);

    ProgramFixture f(true, folder_);
    f.prompts.message_answers = {kYes};
    f.program().Start({});
    QCOMPARE(f.prompts.messages.size(), std::size_t{1});
    QCOMPARE(f.Lines(), QStringList({"[QuoomTriggers]", QString::fromLatin1("Quooms=(\xe9)")}));
    f.prompts.save_answers = {f.dir.File("back.txt")};
    f.frmMain().btnSaveClick();
    QCOMPARE(Slurp(f.dir.File("back.txt")), std::string("[QuoomTriggers]\r\nQuooms=(\xe9)"));
  }
};

}  // namespace

int RunRecoveryTests(int argc, char** argv) {
  RecoveryTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "recovery_test.moc"
