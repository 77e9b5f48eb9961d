#include "extract/frm_config.h"

#include <QFrame>
#include <QToolButton>
#include <iterator>

#include "controls/app_icons.h"
#include "controls/bar_button.h"
#include "controls/lum_check_box.h"
#include "controls/lum_gradient.h"

namespace quarrix {
namespace {

constexpr int kClientWidth = 208;
constexpr int kClientHeight = 237;
constexpr int kButtonBarHeight = 34;

}  // namespace

TfrmConfig::TfrmConfig(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("frmConfig");
  setWindowTitle("Quoom Options");
  setWindowIcon(MakeIcon(AppIcon::kOptions));
  QFont font("MS Sans Serif");
  font.setPointSize(8);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);

  // Created first, so the check boxes copy it as their background.
  LumGradient2 = new TLumGradient(this);
  LumGradient2->setObjectName("LumGradient2");
  LumGradient2->SetColorBegin(Qt::white);
  LumGradient2->SetGradient(TGradientDirection::gdHorizontal);
  LumGradient2->setGeometry(0, 0, kClientWidth, kClientHeight - kButtonBarHeight);

  CheckBoxTrigger = AddCheckBox("CheckBoxTrigger", "No Trigger Names", QRect(16, 8, 125, 19));
  CheckBoxDedicated = AddCheckBox("CheckBoxDedicated", "Dedicated Only ", QRect(16, 36, 117, 19));
  CheckBoxHideMenu = AddCheckBox("CheckBoxHideMenu", "All Hide in Menu", QRect(16, 64, 117, 19));
  CheckBoxAdmin = AddCheckBox("CheckBoxAdmin", "Set All as  Admin Only", QRect(16, 92, 157, 19));
  CheckBoxRandom = AddCheckBox("CheckBoxRandom", "No Random Search", QRect(16, 120, 121, 19));
  CheckBoxSoundsOnly = AddCheckBox("CheckBoxSoundsOnly", "Sounds Only", QRect(16, 148, 93, 19));
  CheckBoxAddFile = AddCheckBox("CheckBoxAddFile", "Add to current File", QRect(16, 176, 153, 19));
  CheckBoxDedicated->SetChecked(true);
  QFont bold = CheckBoxAddFile->font();
  bold.setBold(true);
  CheckBoxAddFile->setFont(bold);
  QPalette black = CheckBoxAddFile->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  CheckBoxAddFile->setPalette(black);
  CheckBoxAddFile->setVisible(false);

  TLumCheckBox* const order[] = {CheckBoxTrigger, CheckBoxDedicated, CheckBoxHideMenu,
                                 CheckBoxAdmin,   CheckBoxRandom,    CheckBoxSoundsOnly,
                                 CheckBoxAddFile};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(1);
  Panel1->setGeometry(0, kClientHeight - kButtonBarHeight, kClientWidth, kButtonBarHeight);

  LumGradient1 = new TLumGradient(Panel1);
  LumGradient1->setObjectName("LumGradient1");
  LumGradient1->SetColorBegin(Qt::white);
  LumGradient1->SetGradient(TGradientDirection::gdHorizontal);
  LumGradient1->SetAlign(TAlign::alClient);

  btnSubmit = AddButton("btnSubmit", " Submit", MakeIcon(AppIcon::kSubmit), QRect(8, 5, 77, 25));
  btnCancel = AddButton("btnCancel", " Cancel", MakeIcon(AppIcon::kCancel), QRect(124, 5, 77, 25));
  connect(btnSubmit, &QToolButton::clicked, this, &TfrmConfig::btnSubmitClick);
  connect(btnCancel, &QToolButton::clicked, this, &TfrmConfig::btnCancelClick);
}

TfrmConfig::~TfrmConfig() = default;

TLumCheckBox* TfrmConfig::AddCheckBox(const char* name, const QString& caption, QRect bounds) {
  auto* box = new TLumCheckBox(this);
  box->setObjectName(name);
  box->SetCaption(caption);
  box->SetTransparent(true);
  box->setGeometry(bounds);
  return box;
}

QToolButton* TfrmConfig::AddButton(const char* name, const QString& caption, const QIcon& icon,
                                   QRect bounds) {
  // Toolbar buttons take no focus: the keyboard stays with the check boxes.
  return MakeBarButton(Panel1, name, caption, icon, bounds);
}

void TfrmConfig::SetAddFileOffered(bool offered) {
  if (!offered) CheckBoxAddFile->SetChecked(false);
  CheckBoxAddFile->setVisible(offered);
}

void TfrmConfig::btnSubmitClick() {
  submitted_ = true;
  accept();
}

void TfrmConfig::btnCancelClick() { reject(); }

void TfrmConfig::reject() {
  submitted_ = false;
  QDialog::reject();
}

}  // namespace quarrix
