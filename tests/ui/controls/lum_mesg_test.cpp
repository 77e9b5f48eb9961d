// TLumMesg: the built box (buttons, order, captions, icon, gradient, geometry, position),
// its answers by button, close box, keys and accelerators, and the side effects of the
// show operations.
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

#include "controls/lum_butt.h"
#include "controls/lum_gradient.h"
#include "controls/lum_mesg.h"
#include "controls/message_form.h"
#include "controls/system_colors.h"
#include "controls_tests.h"
#include "support/recording_sounds.h"

namespace quarrix::testing {
namespace {

using Act = std::function<void(TMessageForm*)>;

// Runs `act` on the next box of `mesg` once its modal loop runs. A box still open after
// ten seconds is ended with -99, so a failing test cannot hang.
void OnNextBox(TLumMesg& mesg, Act act) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&mesg, &TLumMesg::DialogRunning, &mesg,
                                 [connection, act](TMessageForm* form) {
                                   QObject::disconnect(*connection);
                                   QPointer<TMessageForm> guard(form);
                                   QTimer::singleShot(10000, [guard] {
                                     if (guard != nullptr) guard->done(-99);
                                   });
                                   act(form);
                                 });
}

QStringList ButtonCaptions(TMessageForm* form) {
  QStringList captions;
  for (int i = 0;; ++i) {
    auto* button = form->findChild<TLumButt*>(QStringLiteral("A%1").arg(i));
    if (button == nullptr) break;
    captions << button->text();
  }
  return captions;
}

QFont Bold11() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  font.setBold(true);
  return font;
}

// Configured as the main window configures its instance.
void ConfigureLikeTheMainWindow(TLumMesg& mesg) {
  mesg.SetColorGradient1(Qt::white);
  mesg.SetColorGradient2(QColor(128, 128, 128));
  mesg.SetFontText(Bold11());
  mesg.SetFontButton(Bold11());
  mesg.SetSymbol(TSymbol::dgInformation);
}

QRect ToQRect(const Rect& r) { return {r.left, r.top, r.width, r.height}; }

class MessageTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    mesg_ = std::make_unique<TLumMesg>();
    mesg_->SetSounds(&sounds_);
    sounds_.played.clear();
  }
  void cleanup() { mesg_.reset(); }

  void AnswersWithThePressedButton_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes") << "A0" << 6;
    QTest::newRow("No") << "A1" << 7;
    QTest::newRow("Cancel") << "A2" << 2;
  }
  void AnswersWithThePressedButton() {
    QFETCH(QString, name);
    QFETCH(int, result);
    ConfigureLikeTheMainWindow(*mesg_);
    QStringList captions;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      captions = ButtonCaptions(form);
      form->findChild<TLumButt*>(name)->click();
    });
    QCOMPARE(int(mesg_->MessageShow(QStringLiteral("File not saved!\nWish to save this file ?"),
                                    QStringLiteral("Warning!"),
                                    QStringLiteral("mbYes,mbNo,mbCancel"), -1, -1)),
             result);
    QCOMPARE(captions, (QStringList{"&Yes", "&No", "&Cancel"}));
  }

  void ClosingWithoutAButtonAnswersCancel_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
  }
  void ClosingWithoutAButtonAnswersCancel() {
    QFETCH(QString, how);
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      if (how == QLatin1String("close"))
        form->close();
      else
        QTest::keyClick(form, Qt::Key_Escape);
    });
    QCOMPARE(int(mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbYes,mbNo"),
                                    -1, -1)),
             2);
  }

  void EnterPressesNothingAndAcceleratorsPressTheirButtons() {
    bool open_after_enter = false;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      form->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(form));
      QTest::keyClick(form, Qt::Key_Return);
      QTest::keyClick(form, Qt::Key_Enter);
      QCoreApplication::processEvents();
      open_after_enter = form->isVisible();
      QTest::keyClick(form, Qt::Key_N, Qt::AltModifier);
    });
    QCOMPARE(int(mesg_->MessageShow(QStringLiteral("Msg"), QString(),
                                    QStringLiteral("mbYes,mbNo,mbCancel"), -1, -1)),
             7);
    QCOMPARE(open_after_enter, true);
  }

  void SelectsButtonsBySubstringsInTheFixedOrder_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("results");
    QTest::newRow("yes to all") << "mbYesToAll" << QStringList{"&Yes", "Ye&sToAll"}
                                << QList<int>{6, 10};
    QTest::newRow("no to all") << "mbNoToAll" << QStringList{"&No", "No&ToAll"} << QList<int>{7, 9};
    QTest::newRow("blank between")
        << "mbYes mbNo" << QStringList{"&Yes", "&No"} << QList<int>{6, 7};
    QTest::newRow("run together") << "mbYesmbNo" << QStringList{"&Yes", "&No"} << QList<int>{6, 7};
    QTest::newRow("cancel first") << "MBCANCEL,mbok" << QStringList{"&OK", "&Cancel"}
                                  << QList<int>{1, 2};
    QTest::newRow("all ten") << "mbOk,mbCancel,mbAbort,mbRetry,mbIgnore,mbAll,mbYesToAll,mbNoToAll"
                             << QStringList{"&Yes",   "&No",     "&OK",  "&Cancel",  "&Abort",
                                            "&Retry", "&Ignore", "A&ll", "No&ToAll", "Ye&sToAll"}
                             << QList<int>{6, 7, 1, 2, 3, 4, 5, 8, 9, 10};
  }
  void SelectsButtonsBySubstringsInTheFixedOrder() {
    QFETCH(QString, list);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, results);
    QStringList shown;
    QList<int> answers;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      shown = ButtonCaptions(form);
      for (int i = 0; i < shown.size(); ++i) {
        answers << form->findChild<TLumButt*>(QStringLiteral("A%1").arg(i))->Result();
      }
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), list, -1, -1);
    QCOMPARE(shown, captions);
    QCOMPARE(answers, results);
  }

  // The pixel layout itself is worked out in the core's message_layout_test; the box must be
  // built from the layout it is handed, and hand over what it measured.
  void BuildsTheBoxFromTheLayoutOfWhatItMeasured_data() {
    QTest::addColumn<int>("symbol");
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("clear");
    QTest::newRow("information, three buttons")
        << int(TSymbol::dgInformation) << "mbYes,mbNo,mbCancel" << true;
    QTest::newRow("no icon, raised") << int(TSymbol::dgNone) << "mbOk,mbCancel" << false;
    QTest::newRow("no buttons") << int(TSymbol::dgError) << "" << true;
  }
  void BuildsTheBoxFromTheLayoutOfWhatItMeasured() {
    QFETCH(int, symbol);
    QFETCH(QString, list);
    QFETCH(bool, clear);
    ConfigureLikeTheMainWindow(*mesg_);
    QFont button_font = Bold11();
    button_font.setPixelSize(14);
    mesg_->SetFontButton(button_font);
    mesg_->SetSymbol(static_cast<TSymbol>(symbol));
    mesg_->SetClearButtons(clear);
    const QString msg = QStringLiteral("File not saved!\nWish to save this file ?");

    // A layout no arithmetic gives: every number of it must show up in the box.
    MessageLayout given;
    given.client = {301, 123};
    given.icon = {11, 13, 32, 32};
    given.label = {57, 15, 217, 41};
    given.left = 97;
    given.top = 79;
    int next = 0;
    for (const ButtonKind kind : ParseButtonList(list.toStdString()).InDisplayOrder()) {
      given.buttons.push_back({kind, "A" + std::to_string(next), {23 + 71 * next, 87, 61, 27}});
      ++next;
    }
    std::optional<MessageLayoutInput> measured;
    mesg_->SetLayoutFunction([&](const MessageLayoutInput& input) {
      measured = input;
      return given;
    });

    OnNextBox(*mesg_, [&](TMessageForm* form) {
      QCOMPARE(form->size(), QSize(301, 123));
      QCOMPARE(form->minimumSize(), form->maximumSize());
      const QRect outer = form->frameGeometry();
      const QRect inner = form->geometry();
      QCOMPARE(outer.topLeft(), QPoint(97, 79));
      auto* label = form->findChild<QLabel*>(QStringLiteral("Message"));
      QCOMPARE(label->geometry(), QRect(57, 15, 217, 41));
      QCOMPARE(label->text(), msg);
      QCOMPARE(label->font(), Bold11());
      auto* image = form->findChild<QLabel*>(QStringLiteral("Image"));
      QCOMPARE(image != nullptr, symbol != int(TSymbol::dgNone));
      if (image != nullptr) QCOMPARE(image->geometry(), QRect(11, 13, 32, 32));
      QCOMPARE(form->findChildren<TLumButt*>().size(), qsizetype(given.buttons.size()));
      for (const PlacedButton& placed : given.buttons) {
        auto* button = form->findChild<TLumButt*>(QString::fromStdString(placed.name));
        QCOMPARE(button->geometry(), ToQRect(placed.bounds));
        QCOMPARE(button->font(), button_font);
        QCOMPARE(button->Flat(), clear);
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
      }

      // What the layout was handed: each font measured for its own part (the 14-pixel button
      // font is the taller), two lines of text, the icon, the buttons, their spacing, the
      // screen and the frame (offscreen: 2 pixels a side).
      QVERIFY(measured.has_value());
      const QRect screen = QGuiApplication::primaryScreen()->geometry();
      QVERIFY2(measured->button_char.height > measured->text_char.height,
               qPrintable(QStringLiteral("%1 against %2")
                              .arg(measured->button_char.height)
                              .arg(measured->text_char.height)));
      QVERIFY(measured->text.height >= 2 * measured->text_char.height &&
              measured->text.height < 3 * measured->text_char.height);
      QVERIFY(measured->text.width > 0 && measured->text.width <= screen.width() / 2);
      QCOMPARE(measured->has_icon, symbol != int(TSymbol::dgNone));
      QCOMPARE(measured->buttons, ParseButtonList(list.toStdString()));
      QCOMPARE(measured->spacing_units, clear ? 1 : 4);
      QCOMPARE(measured->screen,
               (Rect{screen.left(), screen.top(), screen.width(), screen.height()}));
      QCOMPARE(measured->frame,
               (FrameMargins{inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom()}));
      QVERIFY(measured->frame != FrameMargins{});
      form->close();
    });
    QCOMPARE(int(mesg_->MessageShow(msg, QString(), list, -1, -1)), 2);
  }

  void WrapsAtHalfTheScreenWidth() {
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    QString msg;
    for (int i = 0; i < 60; ++i) msg += QStringLiteral("word ");
    QRect label_rect;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      label_rect = form->findChild<QLabel*>(QStringLiteral("Message"))->geometry();
      form->close();
    });
    mesg_->MessageShow(msg, QString(), QStringLiteral("mbOk"), -1, -1);
    QVERIFY2(label_rect.width() <= half && label_rect.width() > half - 60,
             qPrintable(QString::number(label_rect.width())));
    QVERIFY(label_rect.height() >= 3 * QFontMetrics(mesg_->FontText()).height());
  }

  void CaptionFollowsTheTitleRule_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("symbol");
    QTest::addColumn<QString>("caption");
    QTest::newRow("own title") << "Warning!" << int(TSymbol::dgInformation) << "Warning!";
    QTest::newRow("empty") << "" << int(TSymbol::dgInformation) << "Information";
    QTest::newRow("None") << "None" << int(TSymbol::dgInformation) << "Information";
    QTest::newRow("none in lower case") << "none" << int(TSymbol::dgError) << "none";
    QTest::newRow("None without symbol") << "None" << int(TSymbol::dgNone) << "";
    QTest::newRow("confirm") << "" << int(TSymbol::dgConfirmation) << "Confirm";
  }
  void CaptionFollowsTheTitleRule() {
    QFETCH(QString, title);
    QFETCH(int, symbol);
    QFETCH(QString, caption);
    mesg_->SetSymbol(static_cast<TSymbol>(symbol));
    QString shown = QStringLiteral("not shown");
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      shown = form->windowTitle();
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), title, QStringLiteral("mbOk"), -1, -1);
    QCOMPARE(shown, caption);
    QCOMPARE(mesg_->StoredTitle(), title);
  }

  void PlacesTheBoxAtXposAndYpos() {
    QPoint centred;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      centred = form->pos();
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, -1);

    QPoint placed;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      placed = form->pos();
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, 300);
    QCOMPARE(placed, QPoint(centred.x(), 300));
    QCOMPARE(mesg_->Xpos(), -1);
    QCOMPARE(mesg_->Ypos(), 300);

    OnNextBox(*mesg_, [&](TMessageForm* form) {
      placed = form->pos();
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), 0, -5);
    QCOMPARE(placed, QPoint(0, centred.y()));
  }

  void ShowMessageResetsTheBoxToInformation() {
    mesg_->SetSymbol(TSymbol::dgError);
    QString title;
    QStringList captions;
    bool icon = false;
    OnNextBox(*mesg_, [&](TMessageForm* form) { form->close(); });
    mesg_->MessageShow(QStringLiteral("Msg"), QStringLiteral("Own"), QStringLiteral("mbYes,mbNo"),
                       40, 50);
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      title = form->windowTitle();
      captions = ButtonCaptions(form);
      icon = form->findChild<QLabel*>(QStringLiteral("Image")) != nullptr;
      form->findChild<TLumButt*>(QStringLiteral("A0"))->click();
    });
    QCOMPARE(int(mesg_->ShowMessage(QStringLiteral("About"))), 1);
    QCOMPARE(title, QStringLiteral("Information"));
    QCOMPARE(captions, QStringList{"&OK"});
    QCOMPARE(icon, true);
    QCOMPARE(mesg_->Symbol(), TSymbol::dgInformation);
    QCOMPARE(mesg_->StoredTitle(), QString());
    QCOMPARE(mesg_->Xpos(), -1);
    QCOMPARE(mesg_->Ypos(), -1);
    QCOMPARE(mesg_->Buttons(), ButtonSet::Of({ButtonKind::mbOk}));

    // The symbol stays for later boxes; an empty title is stored as given.
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      title = form->windowTitle();
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, -1);
    QCOMPARE(title, QStringLiteral("Information"));
  }

  void DrawsTheGradientOrThePlainColour() {
    mesg_->SetColorGradient1(Qt::white);
    mesg_->SetColorGradient2(QColor(128, 128, 128));
    mesg_->SetVerticalGradient(true);
    TLumGradient* seen = nullptr;
    QRect gradient_rect;
    TGradientDirection direction = TGradientDirection::gdHorizontal;
    QSize client;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      seen = form->findChild<TLumGradient*>(QStringLiteral("Gradient"));
      QVERIFY(seen != nullptr);
      gradient_rect = seen->geometry();
      direction = seen->Gradient();
      QCOMPARE(seen->ColorBegin(), QColor(Qt::white));
      QCOMPARE(seen->ColorEnd(), QColor(128, 128, 128));
      client = form->size();
      const QImage image = form->grab().toImage();
      QCOMPARE(image.pixel(1, 0), qRgb(255, 255, 255));
      QVERIFY(qRed(image.pixel(1, image.height() - 1)) < 135);
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, -1);
    QCOMPARE(gradient_rect, QRect(QPoint(0, 0), client));
    QCOMPARE(direction, TGradientDirection::gdVertical);

    mesg_->SetColorGradient2(Qt::white);
    mesg_->SetColor(QColor(10, 90, 30));
    bool has_gradient = true;
    QRgb corner = 0;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      has_gradient = form->findChild<TLumGradient*>() != nullptr;
      corner = form->grab().toImage().pixel(1, 1);
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, -1);
    QCOMPARE(has_gradient, false);
    QCOMPARE(corner, qRgb(10, 90, 30));
  }

  void AlignsTheMessageAsTextAlignSays() {
    mesg_->SetTextAlign(TAlignment::taCenter);
    Qt::Alignment alignment;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      alignment = form->findChild<QLabel*>(QStringLiteral("Message"))->alignment();
      form->close();
    });
    mesg_->ShowMessage(QStringLiteral("Quoom Trigger Extractor\nv2.0"));
    QCOMPARE(alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  }

  void StaysOnTopAndIsGoneAfterTheCall() {
    QPointer<TMessageForm> box;
    bool on_top = false;
    bool modal = false;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      box = form;
      on_top = form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      modal = form->isModal();
      form->close();
    });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, -1);
    QVERIFY(on_top);
    QVERIFY(modal);
    QVERIFY(box.isNull());
  }

  void AnEmptyListShowsNoButtons() {
    int buttons = -1;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      buttons = int(form->findChildren<TLumButt*>().size());
      form->close();
    });
    QCOMPARE(int(mesg_->MessageShow(QStringLiteral("Msg"), QString(), QString(), -1, -1)), 2);
    QCOMPARE(buttons, 0);
  }

  void PlaysNoSoundFromTheShowOperations() {
    mesg_->SetSoundNum(16);
    OnNextBox(*mesg_, [&](TMessageForm* form) { form->close(); });
    mesg_->MessageShow(QStringLiteral("Msg"), QString(), QStringLiteral("mbOk"), -1, -1);
    QCOMPARE(mesg_->SoundNum(), -1);
    mesg_->SetSoundNum(64);
    OnNextBox(*mesg_, [&](TMessageForm* form) { form->close(); });
    mesg_->ShowMessage(QStringLiteral("Msg"));
    QCOMPARE(mesg_->SoundNum(), -1);
    QCOMPARE(sounds_.played, std::vector<int>{});
  }

  void HelpPlaysTheExclamationAndShowsTheUsage() {
    mesg_->SetSymbol(TSymbol::dgWarning);
    mesg_->SetXpos(12);
    QString text;
    QString title;
    std::vector<int> played_before_box;
    OnNextBox(*mesg_, [&](TMessageForm* form) {
      played_before_box = sounds_.played;
      text = form->findChild<QLabel*>(QStringLiteral("Message"))->text();
      title = form->windowTitle();
      form->close();
    });
    mesg_->SetAbout_Help(TAbout::Help);
    QCOMPARE(played_before_box, std::vector<int>{48});
    QCOMPARE(sounds_.played, std::vector<int>{48});
    QCOMPARE(title, QStringLiteral("Information"));
    for (const char* line :
         {"0,16,32,48,64", "MessageShow(\"Mesg\", \"Title\", \"mbYes,mbNo\", -1, -1)",
          "mbOk,mbCancel,mbAbort,mbRetry,mbIgnore", "mbYes,mbNo,mbAll,mbNoToAll,mbYesToAll",
          "Return = mrYes, mrNo, mrCancel etc..."}) {
      QVERIFY2(text.contains(QLatin1String(line)), line);
    }
    QCOMPARE(mesg_->About_Help(), TAbout::None);
    QCOMPARE(mesg_->Symbol(), TSymbol::dgInformation);
    QCOMPARE(mesg_->Xpos(), -1);

    mesg_->SetAbout_Help(TAbout::None);
    QCOMPARE(sounds_.played, std::vector<int>{48});
  }

 private:
  RecordingSounds sounds_;
  std::unique_ptr<TLumMesg> mesg_;
};

}  // namespace

int RunMessageTests(int argc, char** argv) {
  MessageTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "lum_mesg_test.moc"
