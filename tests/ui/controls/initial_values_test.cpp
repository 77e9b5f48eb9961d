// The values each styled control starts with, as a form that sets nothing finds them: one
// row a property.
#include <QApplication>
#include <QtTest>

#include "controls/lum_check_box.h"
#include "controls/lum_draw_module.h"
#include "controls/lum_gradient.h"
#include "controls/lum_mesg.h"
#include "controls/system_colors.h"
#include "controls_tests.h"

namespace quarrix::testing {
namespace {

class InitialValuesTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsStartWithTheirInitialValues_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* property, QVariant value, QVariant expected) {
      QTest::newRow(property) << value << expected;
    };
    const TLumCheckBox box;
    row("TLumCheckBox size", box.size(), QSize(100, 19));
    row("TLumCheckBox Checked", box.Checked(), false);
    row("TLumCheckBox Flat", box.Flat(), false);
    row("TLumCheckBox HotTrack", box.HotTrack(), true);
    row("TLumCheckBox HotTrackColor", box.HotTrackColor(), QColor(Qt::blue));
    row("TLumCheckBox Alingment", static_cast<int>(box.Alingment()),
        static_cast<int>(TLeft::taRightJustify));
    row("TLumCheckBox Transparent", box.Transparent(), true);
    row("TLumCheckBox ParentColor", box.ParentColor(), true);
    row("TLumCheckBox Hot", box.Hot(), 0);
    row("TLumCheckBox takes the focus by Tab", bool(box.focusPolicy() & Qt::TabFocus), true);

    const TLumDrawModule module;
    row("TLumDrawModule Description", module.Description(), QStringLiteral("Needs BcBarPopupMenu"));
    row("TLumDrawModule ColorGradient1", module.ColorGradient1(), QColor(Qt::white));
    row("TLumDrawModule ColorGradient2", module.ColorGradient2(), QColor(128, 128, 128));
    row("TLumDrawModule ColorNormalText", module.ColorNormalText(), QColor(Qt::black));
    row("TLumDrawModule ColorSelectText", module.ColorSelectText(), QColor(Qt::white));
    row("TLumDrawModule CursorGradient1", module.CursorGradient1(), QColor(192, 192, 192));
    row("TLumDrawModule CursorGradient2", module.CursorGradient2(), QColor(Qt::black));
    row("TLumDrawModule TextBold", module.TextBold(), true);
    row("TLumDrawModule TextHeight", module.TextHeight(), 22);
    row("TLumDrawModule TextSpacing", module.TextSpacing(), 32);
    row("TLumDrawModule Width", module.Width(), 32);

    const TLumGradient gradient;
    row("TLumGradient ColorBegin", gradient.ColorBegin(), ClBtnFace());
    row("TLumGradient ColorEnd", gradient.ColorEnd(), QColor(128, 128, 128));
    row("TLumGradient Gradient", static_cast<int>(gradient.Gradient()),
        static_cast<int>(TGradientDirection::gdHorizontal));
    row("TLumGradient size", gradient.size(), QSize(70, 50));
    row("TLumGradient SentToBack", gradient.SentToBack(), false);

    const TLumMesg mesg;
    row("TLumMesg About_Help", static_cast<int>(mesg.About_Help()), static_cast<int>(TAbout::None));
    row("TLumMesg ClearButtons", mesg.ClearButtons(), true);
    row("TLumMesg Color", mesg.Color(), ClBtnFace());
    row("TLumMesg ColorGradient1", mesg.ColorGradient1(), ClBtnFace());
    row("TLumMesg ColorGradient2", mesg.ColorGradient2(), QColor(128, 128, 128));
    row("TLumMesg FontButton", mesg.FontButton(), QApplication::font());
    row("TLumMesg FontText", mesg.FontText(), QApplication::font());
    row("TLumMesg SoundNum", mesg.SoundNum(), -1);
    row("TLumMesg Symbol", static_cast<int>(mesg.Symbol()), static_cast<int>(TSymbol::dgWarning));
    row("TLumMesg TextAlign", static_cast<int>(mesg.TextAlign()),
        static_cast<int>(TAlignment::taLeftJustify));
    row("TLumMesg VerticalGradient", mesg.VerticalGradient(), false);
    row("TLumMesg Xpos", mesg.Xpos(), -1);
    row("TLumMesg Ypos", mesg.Ypos(), -1);
    row("TLumMesg StoredTitle", mesg.StoredTitle(), QString());
    row("TLumMesg Buttons", mesg.Buttons().bits(), ButtonSet::Of({ButtonKind::mbOk}).bits());
    row("TLumMesg DialogStyle", static_cast<int>(mesg.DialogStyle()),
        static_cast<int>(TDialogStyle::dsStayOnTop));
  }
  void ControlsStartWithTheirInitialValues() {
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QCOMPARE(value, expected);
  }
};

}  // namespace

int RunInitialValueTests(int argc, char** argv) {
  InitialValuesTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace quarrix::testing

#include "initial_values_test.moc"
