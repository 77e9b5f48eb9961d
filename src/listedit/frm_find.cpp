#include "listedit/frm_find.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QValidator>

#include "controls/app_icons.h"
#include "controls/bar_button.h"
#include "controls/lum_gradient.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

constexpr int kClientWidth = 374;
constexpr int kClientHeight = 76;

// The editor holds Windows-1252 bytes, so a character outside it could never be found; the
// box refuses it at input as the editor does.
class Cp1252Validator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return cp1252::Encode(input.toStdU16String()) ? Acceptable : Invalid;
  }
};

}  // namespace

TfrmFind::TfrmFind(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("frmFind");
  setWindowTitle("Find");
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);

  PanelSearch = new QWidget(this);
  PanelSearch->setObjectName("PanelSearch");
  PanelSearch->setGeometry(0, 0, kClientWidth, kClientHeight);
  // Created first, so it lies below every other control of the panel.
  LumGradient1 = new TLumGradient(PanelSearch);
  LumGradient1->setObjectName("LumGradient1");
  LumGradient1->SetColorBegin(Qt::white);
  LumGradient1->SetColorEnd(QColor(144, 144, 144));
  LumGradient1->SetGradient(TGradientDirection::gdHorizontal);
  LumGradient1->SetAlign(TAlign::alClient);

  Label1 = new QLabel("Search for:", PanelSearch);
  Label1->setObjectName("Label1");
  Label1->move(16, 14);
  Label1->adjustSize();

  CBSearch = new QComboBox(PanelSearch);
  CBSearch->setObjectName("CBSearch");
  CBSearch->setEditable(true);
  CBSearch->setInsertPolicy(QComboBox::NoInsert);
  CBSearch->setGeometry(76, 12, 289, 21);
  CBSearch->setValidator(new Cp1252Validator(CBSearch));
  CBSearch->installEventFilter(this);
  CBSearch->lineEdit()->installEventFilter(this);

  btnFind = MakeDialogBarButton(PanelSearch, "btnFind", "  &Find", MakeIcon(AppIcon::kFindFirst),
                                QRect(144, 44, 87, 25));
  btnCancel = MakeDialogBarButton(PanelSearch, "btnCancel", "&Cancel", MakeIcon(AppIcon::kCancel),
                                  QRect(276, 44, 87, 25));
  connect(btnFind, &QToolButton::clicked, this, &TfrmFind::btnFindClick);
  connect(btnCancel, &QToolButton::clicked, this, &TfrmFind::btnCancelClick);
}

bool TfrmFind::Execute() {
  // Only Find reports submitted; a close by Escape or the close box reports the opposite.
  submitted_ = false;
  exec();
  return submitted_;
}

std::string TfrmFind::SearchText() const {
  return cp1252::Encode(CBSearch->currentText().toStdU16String()).value_or(std::string());
}

void TfrmFind::SetSearchText(std::string_view bytes) {
  CBSearch->setEditText(QString::fromStdU16String(cp1252::Decode(bytes)));
}

void TfrmFind::FormShow() {
  setWindowTitle("Search:");
  CBSearch->setFocus();
  CBSearch->lineEdit()->selectAll();
}

void TfrmFind::btnFindClick() {
  submitted_ = true;
  accept();
}

void TfrmFind::btnCancelClick() {
  submitted_ = false;
  CBSearch->setEditText(QString());
  reject();
}

bool TfrmFind::CBSearchKeyPress(int key) {
  if (key == 13) {
    btnFindClick();
    return true;
  }
  if (key == 27) {
    close();
    return true;
  }
  return false;
}

void TfrmFind::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool TfrmFind::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == CBSearch || watched == CBSearch->lineEdit()) &&
      event->type() == QEvent::KeyPress) {
    const auto* key_event = static_cast<QKeyEvent*>(event);
    int key = 0;
    switch (key_event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        key = 13;
        break;
      case Qt::Key_Escape:
        key = 27;
        break;
      default:
        break;
    }
    if (key != 0 && CBSearchKeyPress(key)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quarrix
