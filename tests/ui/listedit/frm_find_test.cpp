// The find dialog on its own: its layout and captions, how each way of leaving it reports,
// and the text of its combo box.
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "controls/lum_gradient.h"
#include "listedit/frm_find.h"
#include "listedit_tests.h"

namespace quarrix::testing {
namespace {

// Runs the dialog modally and acts on it once it is up; what Execute() reported.
bool Run(TfrmFind& dialog, const std::function<void()>& act) {
  QTimer::singleShot(0, [&] {
    act();
    if (dialog.isVisible()) dialog.reject();  // never hang on a dialog left open
  });
  return dialog.Execute();
}

class FindDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void LayoutAndCaptions() {
    QWidget owner;
    TfrmFind dialog(&owner);
    QCOMPARE(dialog.objectName(), QStringLiteral("frmFind"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Find"));
    QCOMPARE(dialog.size(), QSize(374, 76));
    QCOMPARE(dialog.minimumSize(), QSize(374, 76));
    QCOMPARE(dialog.maximumSize(), QSize(374, 76));
    QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint), true);
    QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), false);
    QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), false);
    QCOMPARE(dialog.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(dialog.font().pixelSize(), 11);
    QCOMPARE(dialog.isVisible(), false);

    QCOMPARE(dialog.PanelSearch->objectName(), QStringLiteral("PanelSearch"));
    QCOMPARE(dialog.PanelSearch->geometry(), QRect(0, 0, 374, 76));
    QCOMPARE(dialog.LumGradient1->parentWidget(), dialog.PanelSearch);
    QCOMPARE(dialog.LumGradient1->geometry(), QRect(0, 0, 374, 76));
    QCOMPARE(dialog.LumGradient1->ColorBegin(), QColor(Qt::white));
    QCOMPARE(dialog.LumGradient1->ColorEnd(), QColor(144, 144, 144));
    QCOMPARE(dialog.LumGradient1->Gradient(), TGradientDirection::gdHorizontal);

    QCOMPARE(dialog.Label1->text(), QStringLiteral("Search for:"));
    QCOMPARE(dialog.Label1->pos(), QPoint(16, 14));
    QCOMPARE(dialog.CBSearch->objectName(), QStringLiteral("CBSearch"));
    QCOMPARE(dialog.CBSearch->geometry(), QRect(76, 12, 289, 21));
    QCOMPARE(dialog.CBSearch->isEditable(), true);
    QCOMPARE(dialog.CBSearch->count(), 0);

    const struct {
      QToolButton* button;
      const char* name;
      QString caption;
      QRect bounds;
    } buttons[] = {{dialog.btnFind, "btnFind", "  &Find", QRect(144, 44, 87, 25)},
                   {dialog.btnCancel, "btnCancel", "&Cancel", QRect(276, 44, 87, 25)}};
    for (const auto& b : buttons) {
      QCOMPARE(b.button->objectName(), QString::fromLatin1(b.name));
      QCOMPARE(b.button->text(), b.caption);
      QCOMPARE(b.button->geometry(), b.bounds);
      QCOMPARE(b.button->cursor().shape(), Qt::PointingHandCursor);
      QCOMPARE(b.button->font().bold(), true);
      QCOMPARE(b.button->palette().color(QPalette::ButtonText), QColor(Qt::black));
      QCOMPARE(b.button->icon().isNull(), false);
    }
  }

  void ShowingCaptionsItAndFocusesTheBox() {
    QWidget owner;
    owner.resize(600, 400);
    owner.show();
    TfrmFind dialog(&owner);
    dialog.SetSearchText("Laugh");
    QString caption;
    QWidget* focus = nullptr;
    QString selected;
    Run(dialog, [&] {
      caption = dialog.windowTitle();
      focus = dialog.focusWidget();
      selected = dialog.CBSearch->lineEdit()->selectedText();
    });
    QCOMPARE(caption, QStringLiteral("Search:"));
    QVERIFY(focus == dialog.CBSearch || focus == dialog.CBSearch->lineEdit());
    QCOMPARE(selected, QStringLiteral("Laugh"));
  }

  void EachWayOutReports_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("submitted");
    QTest::addColumn<QString>("text");
    QTest::newRow("Find button") << "find" << true << "bell";
    QTest::newRow("Enter") << "enter" << true << "bell";
    QTest::newRow("keypad Enter") << "keypad" << true << "bell";
    QTest::newRow("Cancel button") << "cancel" << false << "";
    QTest::newRow("Escape") << "escape" << false << "bell";
    QTest::newRow("close box") << "close" << false << "bell";
  }
  void EachWayOutReports() {
    QFETCH(QString, way);
    QFETCH(bool, submitted);
    QFETCH(QString, text);
    TfrmFind dialog;
    dialog.SetSearchText("bell");
    QLineEdit* edit = dialog.CBSearch->lineEdit();
    const bool result = Run(dialog, [&] {
      if (way == "find") QTest::mouseClick(dialog.btnFind, Qt::LeftButton);
      if (way == "enter") QTest::keyClick(edit, Qt::Key_Return);
      if (way == "keypad") QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
      if (way == "cancel") QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
      if (way == "escape") QTest::keyClick(edit, Qt::Key_Escape);
      if (way == "close") dialog.close();
    });
    QCOMPARE(result, submitted);
    QCOMPARE(dialog.Submitted(), submitted);
    QCOMPARE(dialog.isVisible(), false);
    QCOMPARE(dialog.CBSearch->currentText(), text);
    QCOMPARE(dialog.CBSearch->count(), 0);
  }

  void AnEarlierFindDoesNotSubmitALaterEscape() {
    TfrmFind dialog;
    QCOMPARE(Run(dialog, [&] { QTest::mouseClick(dialog.btnFind, Qt::LeftButton); }), true);
    QCOMPARE(Run(dialog, [&] { QTest::keyClick(dialog.CBSearch->lineEdit(), Qt::Key_Escape); }),
             false);
  }

  void TheBoxKeepsNoHistory() {
    TfrmFind dialog;
    for (const char* typed : {"one", "two"}) {
      Run(dialog, [&] {
        dialog.CBSearch->setEditText(QString());
        QTest::keyClicks(dialog.CBSearch->lineEdit(), typed);
        QTest::keyClick(dialog.CBSearch->lineEdit(), Qt::Key_Return);
      });
    }
    QCOMPARE(dialog.CBSearch->count(), 0);
    QCOMPARE(dialog.CBSearch->currentText(), QStringLiteral("two"));
  }

  void TheTextIsWindows1252Bytes() {
    TfrmFind dialog;
    dialog.SetSearchText("Gr\xFC\xDF \x80");
    QCOMPARE(dialog.CBSearch->currentText(), QString::fromUtf8("Grüß €"));
    QCOMPARE(dialog.SearchText(), std::string("Gr\xFC\xDF \x80"));
    // A character the editor's encoding cannot hold is refused at input.
    dialog.CBSearch->setEditText(QString());
    QLineEdit* edit = dialog.CBSearch->lineEdit();
    QTest::keyClicks(edit, "a");
    QKeyEvent outside(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x0100)));
    QCoreApplication::sendEvent(edit, &outside);
    QTest::keyClicks(edit, "b");
    QCOMPARE(dialog.CBSearch->currentText(), QStringLiteral("ab"));
    QCOMPARE(dialog.SearchText(), std::string("ab"));
  }

  void ItIsCentredOnItsOwner() {
    QWidget owner;
    owner.setGeometry(100, 80, 640, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    TfrmFind dialog(&owner);
    QPoint centre;
    Run(dialog, [&] { centre = dialog.geometry().center(); });
    QCOMPARE(centre, owner.geometry().center());
  }
};

}  // namespace

int RunFindDialogTests(int argc, char** argv) {
  FindDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "frm_find_test.moc"
