// Pictures of the styled controls: a message box, check boxes on a gradient and the
// side-bar command menu.
#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "controls/bc_bar_popup_menu.h"
#include "controls/lum_check_box.h"
#include "controls/lum_draw_module.h"
#include "controls/lum_gradient.h"
#include "controls/lum_mesg.h"
#include "controls/message_form.h"
#include "screenshot.h"

namespace quarrix::screenshots {
namespace {

QFont SansSerif(bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  font.setBold(bold);
  return font;
}

}  // namespace
}  // namespace quarrix::screenshots

using quarrix::screenshots::SansSerif;
using quarrix::screenshots::WithTitleBar;

QUARRIX_SCREENSHOT(message_box) {
  quarrix::TLumMesg mesg;
  mesg.SetColorGradient1(Qt::white);
  mesg.SetColorGradient2(QColor(128, 128, 128));
  mesg.SetFontText(SansSerif(true));
  mesg.SetFontButton(SansSerif(true));
  mesg.SetSymbol(quarrix::TSymbol::dgInformation);
  QImage shot;
  QObject::connect(&mesg, &quarrix::TLumMesg::DialogRunning, [&shot](quarrix::TMessageForm* form) {
    shot = WithTitleBar(form->grab().toImage(), form->windowTitle());
    form->done(2);
  });
  mesg.MessageShow(QStringLiteral("File not saved!\nWish to save this file ?"),
                   QStringLiteral("Warning!"), QStringLiteral("mbYes,mbNo,mbCancel"), -1, -1);
  return shot;
}

QUARRIX_SCREENSHOT(check_boxes) {
  QWidget dialog;
  dialog.setFont(SansSerif(false));
  dialog.resize(208, 175);
  auto* gradient = new quarrix::TLumGradient(&dialog);
  gradient->SetColorBegin(Qt::white);
  gradient->SetAlign(quarrix::TAlign::alClient);
  struct Box {
    const char* caption;
    int width;
    bool checked;
    bool enabled;
  };
  const Box boxes[] = {
      {"No Trigger Names", 125, false, true}, {"Dedicated &Only ", 117, true, true},
      {"All Hide in Menu", 117, false, true}, {"Set All as  Admin Only", 157, false, true},
      {"No Random Search", 121, true, false}, {"Add to current File", 153, false, true}};
  quarrix::TLumCheckBox* last = nullptr;
  for (int i = 0; i < 6; ++i) {
    auto* box = new quarrix::TLumCheckBox(&dialog);
    box->setGeometry(16, 8 + 28 * i, boxes[i].width, 19);
    box->SetCaption(QString::fromLatin1(boxes[i].caption));
    box->SetChecked(boxes[i].checked);
    box->setEnabled(boxes[i].enabled);
    last = box;
  }
  last->setFont(SansSerif(true));
  last->SetFlat(true);
  dialog.grab();  // the gradient goes behind the boxes at its first paint
  return WithTitleBar(dialog.grab().toImage(), QStringLiteral("Quoom Options"));
}

QUARRIX_SCREENSHOT(popup_menu) {
  quarrix::TBcBarPopupMenu menu;
  menu.setFont(SansSerif(false));
  menu.SetBarCaption(QStringLiteral("Quoom Extract"));
  quarrix::TLumDrawModule module;
  module.SetTextBold(false);
  module.SetTextHeight(18);
  module.SetTextSpacing(32);
  module.SetWidth(20);
  menu.SetDrawModule(&module);
  QStyle* style = QApplication::style();
  const auto icon = [style](QStyle::StandardPixmap pixmap) { return style->standardIcon(pixmap); };
  menu.AddItem("OpenFile1", "Open Trigger File", icon(QStyle::SP_DialogOpenButton));
  menu.AddItem("SaveFile1", "Save Trigger File", icon(QStyle::SP_DialogSaveButton));
  menu.AddSeparator("N3");
  menu.AddItem("GetQuoom1", "Get Quooms ", icon(QStyle::SP_MediaVolume));
  menu.AddItem("MenuAlphatize", "Sort Alphabetically", icon(QStyle::SP_ArrowDown));
  menu.AddItem("CheckDuplicates1", "Check for Duplicates", icon(QStyle::SP_FileDialogContentsView));
  menu.AddSeparator("N4");
  menu.AddItem("FindFirst1", "Find First", icon(QStyle::SP_FileDialogDetailedView), "Ctrl+F");
  QAction* find_next = menu.AddItem("FindNext2", "Find Next", icon(QStyle::SP_ArrowForward), "F3");
  menu.AddSeparator("N1");
  menu.AddItem("DesktopIcon1", "Create Desktop Icon", icon(QStyle::SP_DesktopIcon));
  menu.AddItem("ClearCurrent1", "Clear Current Edits", icon(QStyle::SP_DialogResetButton));
  menu.AddItem("AboutQuarrix1", "About Quarrix", icon(QStyle::SP_MessageBoxInformation));
  menu.AddSeparator("N2");
  menu.AddItem("MenuExit", "Exit Quarrix", icon(QStyle::SP_DialogCloseButton));
  menu.popup(QPoint(0, 0));
  menu.setActiveAction(find_next);
  QApplication::processEvents();
  const QImage shot = menu.grab().toImage();
  menu.close();
  return shot;
}
