// The main window as it starts, its controls and menu, About and the error display.
#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <filesystem>

#include "app/error_display.h"
#include "app_tests.h"
#include "controls/bc_bar_popup_menu.h"
#include "controls/bm_shaped_button.h"
#include "controls/lum_draw_module.h"
#include "controls/lum_gradient.h"
#include "controls/lum_mesg.h"
#include "controls/wd_gradient_panel.h"
#include "runtime/errors.h"
#include "support/program_fixture.h"

namespace quarrix::testing {
namespace {

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsEmptyWithSaveDisabled() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    QCOMPARE(window.windowTitle(), QStringLiteral("Quoom uax Extractor"));
    QCOMPARE(window.size(), QSize(648, 372));
    QCOMPARE(fixture.editor().Lines().Count(), 0);
    QCOMPARE(window.btnSave->isEnabled(), false);
    QCOMPARE(window.btnSave->toolTip(), QStringLiteral("For editing"));
    QCOMPARE(window.PanelTop->Caption(), QString());
    QCOMPARE(fixture.state().unsaved, false);
    QCOMPARE(fixture.state().current_file, std::string());
    QCOMPARE(window.OpenDialog1.filter, std::string("*.uax"));
    QCOMPARE(window.OpenDialog1.title, std::string("Quoom .uax to ini Converter."));
    QCOMPARE(window.SaveDialog1.overwrite_prompt, true);
    QCOMPARE(fixture.Played(), QList<int>());
  }

  void ProgramFolderIsTheExecutablesFolder() {
    ProgramFixture fixture;
    QCOMPARE(fixture.state().program_folder, fixture.dir.path() + "/bin/");
    QCOMPARE(fixture.program().AppTitle(), std::string("Quarrix"));
  }

  void StartingWritesNothingIntoTheProgramFolder() {
    TempDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directories(bin);
    // Any file made or removed there would move the folder's change time off this old one.
    const auto long_ago = std::filesystem::last_write_time(bin) - std::chrono::hours(24 * 365);
    std::filesystem::last_write_time(bin, long_ago);
    RecordingSounds sounds;
    ScriptedPrompts prompts;
    Program program({&sounds, &prompts, bin + "/Quarrix"});
    QCOMPARE(program.State().work_folder, bin + "/");  // writable, learnt without a probe
    QVERIFY(std::filesystem::last_write_time(bin) == long_ago);
    QCOMPARE(std::distance(std::filesystem::directory_iterator(bin), {}), 0);
  }

  void ControlsCarryTheirNames() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    QCOMPARE(window.objectName(), QStringLiteral("frmMain"));
    const char* names[] = {"PanelTop",     "btnOptions",      "SynEdit1",      "Panel1",
                           "LumGradient1", "btnGetQuooms",    "btnSave",       "btnQuit",
                           "LumMesg1",     "BcBarPopupMenu1", "LumDrawModule1"};
    for (const char* name : names) {
      QVERIFY2(window.findChild<QObject*>(QString::fromLatin1(name)) != nullptr, name);
    }
    QCOMPARE(window.btnGetQuooms->text(), QStringLiteral(" Get Quooms"));
    QCOMPARE(window.btnSave->text(), QStringLiteral(" Save File"));
    QCOMPARE(window.btnQuit->text(), QStringLiteral("  &Exit"));
    QCOMPARE(window.btnOptions->text(), QStringLiteral("Options"));
    QCOMPARE(window.btnQuit->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(window.btnOptions->cursor().shape(), Qt::PointingHandCursor);
  }

  void CommandMenuHasItsSeventeenItemsInOrder() {
    ProgramFixture fixture;
    const QList<QAction*> actions = fixture.frmMain().BcBarPopupMenu1->actions();
    QStringList names;
    QStringList texts;
    for (const QAction* action : actions) {
      names << action->objectName();
      texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
      QCOMPARE(action->shortcut(), QKeySequence());
      if (!action->isSeparator()) QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
    }
    QCOMPARE(names, QStringList({"OpenFile1", "SaveFile1", "N3", "GetQuoom1", "BrowseSounds1",
                                 "MenuAlphatize", "CheckDuplicates1", "CheckList1", "N4",
                                 "FindFirst1", "FindNext2", "PlaySound1", "N1", "DesktopIcon1",
                                 "ClearCurrent1", "AboutQuarrix1", "N2", "MenuExit"}));
    QCOMPARE(texts,
             QStringList({"Open Trigger File", "Save Trigger File", "-", "Get Quooms ",
                          "Browse Sounds\tCtrl+B", "Sort Alphabetically", "Check for Duplicates",
                          "Check Trigger List\tCtrl+K", "-", "Find First\tCtrl+F", "Find Next\tF3",
                          "Play Sound\tCtrl+P", "-", "Create Desktop Icon", "Clear Current Edits",
                          "About Quarrix", "-", "Exit Quarrix"}));
    TfrmMain& window = fixture.frmMain();
    QCOMPARE(window.BcBarPopupMenu1->BarCaption(), QStringLiteral("Quoom Extract"));
    QCOMPARE(window.BcBarPopupMenu1->DrawModule(),
             static_cast<TBcBarMenusDrawModule*>(window.LumDrawModule1));
    QCOMPARE(window.LumDrawModule1->TextBold(), false);
    QCOMPARE(window.LumDrawModule1->TextHeight(), 18);
    QCOMPARE(window.LumDrawModule1->Width(), 20);
    QCOMPARE(window.btnOptions->DropDownMenu(), static_cast<QMenu*>(window.BcBarPopupMenu1));
  }

  void OptionsButtonOpensTheMenuJustBelowItsBottomLeftCorner() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(window.btnOptions, Qt::LeftButton);
    QTRY_VERIFY(window.BcBarPopupMenu1->isVisible());
    // The button's rows are top .. top + height - 1; the menu starts on the next one.
    const QPoint button = window.btnOptions->mapToGlobal(QPoint(0, 0));
    QCOMPARE(window.BcBarPopupMenu1->geometry().topLeft(),
             QPoint(button.x(), button.y() + window.btnOptions->height()));
    window.BcBarPopupMenu1->hide();
  }

  void StartsCentredOnTheScreenWithItsFrame() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect outer = window.frameGeometry();
    QVERIFY(outer != window.geometry());  // the offscreen platform frames windows too
    QCOMPARE(outer.topLeft(), QPoint(screen.left() + screen.width() / 2 - outer.width() / 2,
                                     screen.top() + screen.height() / 2 - outer.height() / 2));
  }

  void QuitButtonKeepsItsDistanceFromTheRightEdge() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int width : {648, 900, 500}) {
      window.resize(width, 372);
      QApplication::processEvents();
      QCOMPARE(window.Panel1->width() - window.btnQuit->geometry().right() - 1, 12);
      QCOMPARE(window.LumGradient1->geometry(), window.Panel1->contentsRect());
    }
  }

  void UserEditsEnableSaveAndMarkTheWorkUnsaved() {
    ProgramFixture fixture;
    fixture.SetLines({"[QuoomTriggers]"});
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
    fixture.frmMain().show();
    fixture.editor().setFocus();
    QTest::keyClicks(&fixture.editor(), "x");
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), true);
    QCOMPARE(fixture.state().unsaved, true);
  }

  void AltLettersInTheEditorGoToTheWindowsAccelerators() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    fixture.SetLines({"[QuoomTriggers]", ""});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    fixture.editor().setFocus();
    QTRY_VERIFY(fixture.editor().hasFocus());
    QTest::keyClick(&fixture.editor(), Qt::Key_G, Qt::AltModifier);  // no accelerator
    QCOMPARE(fixture.quits, 0);
    QTest::keyClick(&fixture.editor(), Qt::Key_E, Qt::AltModifier);  // "  &Exit"
    QTRY_COMPARE(fixture.quits, 1);  // a button's accelerator clicks it after a short flash
    QCOMPARE(fixture.Lines(), QStringList({"[QuoomTriggers]", ""}));
    QCOMPARE(window.btnSave->isEnabled(), false);
    QCOMPARE(fixture.state().unsaved, false);
  }

  void LineListChangesLeaveSaveAndTheFlagAlone() {
    ProgramFixture fixture;
    fixture.SetLines({"a", "b"});
    fixture.editor().Lines().Append("c");
    QCOMPARE(fixture.frmMain().btnSave->isEnabled(), false);
    QCOMPARE(fixture.state().unsaved, false);
  }

  void AboutShowsItsTextAndCentresLaterBoxes() {
    ProgramFixture fixture;
    TfrmMain& window = fixture.frmMain();
    QCOMPARE(window.LumMesg1->TextAlign(), TAlignment::taLeftJustify);
    window.AboutQuarrix1->trigger();
    QCOMPARE(fixture.Played(), QList<int>({0x30}));
    QCOMPARE(fixture.prompts.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(fixture.prompts.shown[0]),
             QStringLiteral("Quoom Trigger Extractor\nv2.0\n\nThis will extract the Triggernames\n"
                            "and all required parameters from as\nmany Sound.uax files as you "
                            "need.\nYou can then choose to sort them\nalphabetical and finally "
                            "check for\nduplications which will be listed\nat the end of the "
                            "Trigger list."));
    QCOMPARE(window.LumMesg1->TextAlign(), TAlignment::taCenter);
  }

  void ErrorsAreShownWithTheFullStopRuleAndTheErrorSound_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("path") << "Cannot open file /x/a.txt"
                          << "Cannot open file /x/a.txt.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("blank") << "Ends in a blank "
                           << "Ends in a blank ";
  }
  void ErrorsAreShownWithTheFullStopRuleAndTheErrorSound() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    ProgramFixture fixture;
    RunGuarded(fixture.prompts, fixture.sounds, [&] { throw QuarrixError(message.toStdString()); });
    QCOMPARE(fixture.prompts.errors, std::vector<std::string>{shown.toStdString()});
    QCOMPARE(fixture.Played(), QList<int>({0x10}));
  }

  void CreateDesktopIconWritesTheLauncherOrReportsWhyNot_data() {
    QTest::addColumn<bool>("desktop_exists");
    QTest::newRow("desktop folder exists") << true;
    QTest::newRow("no desktop folder") << false;
  }
  void CreateDesktopIconWritesTheLauncherOrReportsWhyNot() {
    QFETCH(bool, desktop_exists);
    TempDir home;
    std::filesystem::create_directories(home.File("config"));
    home.Write("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desk\"\n");
    if (desktop_exists) std::filesystem::create_directories(home.File("Desk"));
    const QByteArray saved_home = qgetenv("HOME");
    const QByteArray saved_config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QByteArray::fromStdString(home.path()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.File("config")));
    ProgramFixture fixture;
    fixture.frmMain().DesktopIcon1->trigger();
    qputenv("HOME", saved_home);
    qputenv("XDG_CONFIG_HOME", saved_config);

    const std::string link = home.File("Desk/Quoom Extract.desktop");
    if (desktop_exists) {
      QCOMPARE(fixture.prompts.errors, std::vector<std::string>());
      QCOMPARE(fixture.Played(), QList<int>({0x40}));
      const std::string launcher = Slurp(link);
      QVERIFY2(launcher.find("Exec=" + fixture.state().program_folder + "Quarrix\n") !=
                   std::string::npos,
               launcher.c_str());
    } else {
      QCOMPARE(fixture.prompts.errors,
               std::vector<std::string>{"Cannot create file " + link + "."});
      QCOMPARE(fixture.Played(), QList<int>({0x10}));
      QCOMPARE(std::filesystem::exists(home.File("Desk")), false);
    }
  }
};

}  // namespace

int RunMainWindowTests(int argc, char** argv) {
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "main_window_test.moc"
