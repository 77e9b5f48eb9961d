// TfrmConfig: its controls as built, the ways of closing it and what each leaves in
// Submitted, and the check box states it keeps from one showing to the next.
#include <QFrame>
#include <QToolButton>
#include <QtTest>

#include "controls/lum_check_box.h"
#include "controls/lum_gradient.h"
#include "extract/frm_config.h"
#include "extract_tests.h"

namespace quarrix::testing {
namespace {

enum class Close { kSubmit, kCancel, kCloseBox, kEscape };

// Shows the dialog modally and closes it the given way once it is up.
bool RunAndClose(TfrmConfig& dialog, Close how) {
  WhenModal answer([&](QWidget* modal) {
    QCOMPARE(modal, &dialog);
    switch (how) {
      case Close::kSubmit:
        QTest::mouseClick(dialog.btnSubmit, Qt::LeftButton);
        break;
      case Close::kCancel:
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        break;
      case Close::kCloseBox:
        dialog.close();
        break;
      case Close::kEscape:
        // Sent to the focused check box, as the user's key would be; the dialog gets it.
        QTest::keyClick(dialog.CheckBoxTrigger, Qt::Key_Escape);
        break;
    }
  });
  dialog.exec();
  if (!answer.done()) qWarning("the dialog was never answered");
  return dialog.Submitted();
}

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void BuildsItsWindowAndButtonBar() {
    TfrmConfig dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("frmConfig"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quoom Options"));
    QCOMPARE(dialog.minimumSize(), QSize(208, 237));
    QCOMPARE(dialog.maximumSize(), QSize(208, 237));
    QCOMPARE(dialog.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(dialog.font().pointSize(), 8);
    QCOMPARE(dialog.isModal(), true);
    QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), false);
    QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), false);
    QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint), true);
    QCOMPARE(dialog.windowIcon().isNull(), false);
    QCOMPARE(dialog.Submitted(), false);

    QCOMPARE(dialog.LumGradient2->geometry(), QRect(0, 0, 208, 203));
    QCOMPARE(dialog.Panel1->geometry(), QRect(0, 203, 208, 34));
    QCOMPARE(dialog.LumGradient1->parentWidget(), dialog.Panel1);
    QCOMPARE(dialog.LumGradient1->geometry(), dialog.Panel1->contentsRect());
    // Both gradients run from white at the left to grey 128 at the right, the same down their
    // height: above the check boxes, below them, and in the button bar right of Cancel.
    const QImage image = dialog.grab().toImage();
    for (const QPoint left : {QPoint(0, 2), QPoint(0, 200), QPoint(1, 220)}) {
      const int y = left.y();
      QCOMPARE(image.pixel(left), qRgb(255, 255, 255));
      const QRgb right = image.pixel(205, y);
      QVERIFY2(qRed(right) >= 128 && qRed(right) <= 131 && qGreen(right) == qRed(right) &&
                   qBlue(right) == qRed(right),
               qPrintable(QStringLiteral("y %1: %2").arg(y).arg(QColor(right).name())));
    }

    struct Button {
      QToolButton* button;
      const char* name;
      QString caption;
      QRect bounds;
    };
    for (const Button& b : {Button{dialog.btnSubmit, "btnSubmit", " Submit", {8, 5, 77, 25}},
                            Button{dialog.btnCancel, "btnCancel", " Cancel", {124, 5, 77, 25}}}) {
      QCOMPARE(b.button, dialog.findChild<QToolButton*>(b.name));
      QCOMPARE(b.button->parentWidget(), dialog.Panel1);
      QCOMPARE(b.button->text(), b.caption);
      QCOMPARE(b.button->geometry(), b.bounds);
      QCOMPARE(b.button->cursor().shape(), Qt::PointingHandCursor);
      QCOMPARE(b.button->autoRaise(), true);
      QCOMPARE(b.button->icon().isNull(), false);
      QCOMPARE(b.button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    }
  }

  void BuildsTheSevenCheckBoxes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("bold");
    QTest::newRow("trigger") << "CheckBoxTrigger"
                             << "No Trigger Names" << QRect(16, 8, 125, 19) << false << false
                             << false;
    QTest::newRow("dedicated") << "CheckBoxDedicated"
                               << "Dedicated Only " << QRect(16, 36, 117, 19) << true << false
                               << false;
    QTest::newRow("hide") << "CheckBoxHideMenu"
                          << "All Hide in Menu" << QRect(16, 64, 117, 19) << false << false
                          << false;
    QTest::newRow("admin") << "CheckBoxAdmin"
                           << "Set All as  Admin Only" << QRect(16, 92, 157, 19) << false << false
                           << false;
    QTest::newRow("random") << "CheckBoxRandom"
                            << "No Random Search" << QRect(16, 120, 121, 19) << false << false
                            << false;
    QTest::newRow("sounds only") << "CheckBoxSoundsOnly"
                                 << "Sounds Only" << QRect(16, 148, 93, 19) << false << false
                                 << false;
    QTest::newRow("add") << "CheckBoxAddFile"
                         << "Add to current File" << QRect(16, 176, 153, 19) << false << true
                         << true;
  }
  void BuildsTheSevenCheckBoxes() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, bounds);
    QFETCH(bool, checked);
    QFETCH(bool, hidden);
    QFETCH(bool, bold);
    TfrmConfig dialog;
    auto* box = dialog.findChild<TLumCheckBox*>(name);
    QVERIFY2(box != nullptr, qPrintable(name));
    QCOMPARE(box->parentWidget(), &dialog);
    QCOMPARE(box->Caption(), caption);
    QCOMPARE(box->geometry(), bounds);
    QCOMPARE(box->Checked(), checked);
    QCOMPARE(box->isHidden(), hidden);
    QCOMPARE(box->Transparent(), true);
    QCOMPARE(box->font().bold(), bold);
    if (bold) QCOMPARE(box->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(box->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
  }

  void TabsThroughTheCheckBoxesInOrder() {
    TfrmConfig dialog;
    dialog.SetAddFileOffered(true);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const QList<QWidget*> order = {dialog.CheckBoxTrigger,  dialog.CheckBoxDedicated,
                                   dialog.CheckBoxHideMenu, dialog.CheckBoxAdmin,
                                   dialog.CheckBoxRandom,   dialog.CheckBoxSoundsOnly,
                                   dialog.CheckBoxAddFile};
    QCOMPARE(QApplication::focusWidget(), order[0]);
    QList<QWidget*> visited = {QApplication::focusWidget()};
    for (int i = 1; i < order.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget();
    }
    QCOMPARE(visited, order);
    // The buttons take no focus: Tab comes round to the first check box.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), order[0]);
  }

  void EachWayOfClosingSetsSubmitted_data() {
    QTest::addColumn<QList<int>>("closings");
    QTest::addColumn<QList<bool>>("submitted");
    const int submit = static_cast<int>(Close::kSubmit);
    const int cancel = static_cast<int>(Close::kCancel);
    const int box = static_cast<int>(Close::kCloseBox);
    const int escape = static_cast<int>(Close::kEscape);
    QTest::newRow("submit") << QList<int>{submit} << QList<bool>{true};
    QTest::newRow("cancel") << QList<int>{cancel} << QList<bool>{false};
    QTest::newRow("close box first") << QList<int>{box} << QList<bool>{false};
    // A close after a Submit is still a Cancel: the user meant to stop.
    QTest::newRow("close box after submit") << QList<int>{submit, box} << QList<bool>{true, false};
    QTest::newRow("escape after submit") << QList<int>{submit, escape} << QList<bool>{true, false};
    QTest::newRow("submit after cancel") << QList<int>{cancel, submit} << QList<bool>{false, true};
  }
  void EachWayOfClosingSetsSubmitted() {
    QFETCH(QList<int>, closings);
    QFETCH(QList<bool>, submitted);
    TfrmConfig dialog;
    QList<bool> seen;
    for (int how : closings) {
      seen << RunAndClose(dialog, static_cast<Close>(how));
      QCOMPARE(dialog.isVisible(), false);
    }
    QCOMPARE(seen, submitted);
  }

  void KeepsChangesMadeBeforeCancel() {
    TfrmConfig dialog;
    WhenModal change([&](QWidget*) {
      QTest::mouseClick(dialog.CheckBoxDedicated, Qt::LeftButton, {}, QPoint(30, 9));
      QTest::mouseClick(dialog.CheckBoxRandom, Qt::LeftButton, {}, QPoint(30, 9));
      QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    });
    dialog.exec();
    QCOMPARE(change.done(), true);
    QCOMPARE(dialog.Submitted(), false);
    QCOMPARE(dialog.CheckBoxDedicated->Checked(), false);
    QCOMPARE(dialog.CheckBoxRandom->Checked(), true);
    // Shown again: the states are those left by the cancelled showing.
    QList<bool> at_next_showing;
    WhenModal look([&](QWidget*) {
      at_next_showing << dialog.CheckBoxTrigger->Checked() << dialog.CheckBoxDedicated->Checked()
                      << dialog.CheckBoxRandom->Checked();
      dialog.btnSubmitClick();
    });
    dialog.exec();
    QCOMPARE(at_next_showing, (QList<bool>{false, false, true}));
    QCOMPARE(dialog.Submitted(), true);
  }

  void OffersAddToCurrentFileOnlyAsAskedAndClearsItWhenHidden() {
    TfrmConfig dialog;
    dialog.SetAddFileOffered(true);
    QCOMPARE(dialog.CheckBoxAddFile->isHidden(), false);
    dialog.CheckBoxAddFile->SetChecked(true);
    dialog.SetAddFileOffered(true);
    QCOMPARE(dialog.CheckBoxAddFile->Checked(), true);
    dialog.SetAddFileOffered(false);
    QCOMPARE(dialog.CheckBoxAddFile->isHidden(), true);
    QCOMPARE(dialog.CheckBoxAddFile->Checked(), false);
    // The other options are no business of it.
    QCOMPARE(dialog.CheckBoxDedicated->Checked(), true);
  }

  void IsCentredOnTheMainWindow() {
    QWidget main;
    main.setGeometry(300, 200, 648, 372);
    main.show();
    TfrmConfig dialog(&main);
    QPoint centre;
    WhenModal look([&](QWidget*) {
      centre = dialog.geometry().center();
      dialog.btnCancelClick();
    });
    dialog.exec();
    QVERIFY2((centre - main.geometry().center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("dialog centre %1,%2").arg(centre.x()).arg(centre.y())));
  }
};

}  // namespace

int RunOptionsDialogTests(int argc, char** argv) {
  OptionsDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "frm_config_test.moc"
