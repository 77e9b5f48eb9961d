#include "controls/lum_mesg.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include "controls/lum_butt.h"
#include "controls/lum_gradient.h"
#include "controls/message_form.h"
#include "controls/system_colors.h"
#include "controls/window_frames.h"
#include "platform/sounds.h"

namespace quarrix {
namespace {

// Word-wrapped, with "&" as a prefix mark; the box is measured with the same flags.
constexpr int kMessageTextFlags = Qt::TextWordWrap | Qt::TextShowMnemonic;

Qt::Alignment ToQt(TAlignment align) {
  switch (align) {
    case TAlignment::taRightJustify:
      return Qt::AlignRight;
    case TAlignment::taCenter:
      return Qt::AlignHCenter;
    case TAlignment::taLeftJustify:
      break;
  }
  return Qt::AlignLeft;
}

// QLabel shows "&" literally unless it has a buddy; the message treats it as a prefix mark.
class MessageLabel final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), kMessageTextFlags | static_cast<int>(alignment()), text());
  }
};

QStyle::StandardPixmap IconOf(TSymbol symbol) {
  switch (symbol) {
    case TSymbol::dgError:
      return QStyle::SP_MessageBoxCritical;
    case TSymbol::dgInformation:
      return QStyle::SP_MessageBoxInformation;
    case TSymbol::dgConfirmation:
      return QStyle::SP_MessageBoxQuestion;
    case TSymbol::dgWarning:
    case TSymbol::dgNone:
      break;
  }
  return QStyle::SP_MessageBoxWarning;
}

Size AverageCharSizeOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const QString sample = QString::fromLatin1(kAverageCharSample.data(),
                                             static_cast<qsizetype>(kAverageCharSample.size()));
  return AverageCharSize({metrics.horizontalAdvance(sample), metrics.height()});
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char kUsageText[] =
    "TLumMesg, the styled message box\n"
    "Sound: LumMesg1.SoundNum := 0,16,32,48,64\n"
    "Left side position: LumMesg1.Xpos := pixels\n"
    "Top position: LumMesg1.Ypos := pixels\n"
    "ShowMessage(string) shows an OK button only\n"
    "MessageShow(String1, String2, String3, XPos, Ypos)\n"
    "for example MessageShow(\"Mesg\", \"Title\", \"mbYes,mbNo\", -1, -1)\n"
    "Buttons to name in String3:\n"
    "mbOk,mbCancel,mbAbort,mbRetry,mbIgnore\n"
    "mbYes,mbNo,mbAll,mbNoToAll,mbYesToAll\n"
    "Return = mrYes, mrNo, mrCancel etc...";

}  // namespace

TLumMesg::TLumMesg(QObject* parent)
    : QObject(parent),
      color_(ClBtnFace()),
      color_gradient1_(ClBtnFace()),
      color_gradient2_(ToQColor(kClGray)),
      font_button_(QApplication::font()),
      font_text_(QApplication::font()) {}

TLumMesg::~TLumMesg() = default;

void TLumMesg::SetAbout_Help(TAbout value) {
  if (value != TAbout::Help) return;
  ActiveSounds().Play(Sounds::kExclamation);
  ShowMessage(QString::fromLatin1(kUsageText));
  about_help_ = TAbout::None;
}

void TLumMesg::SetClearButtons(bool clear) {
  clear_buttons_ = clear;
  spacing_units_ = clear ? 1 : 4;
}

void TLumMesg::SetColor(const QColor& colour) {
  if (colour != color_) color_ = colour;
}

qint16 TLumMesg::MessageShow(const QString& msg, const QString& title, const QString& buttons,
                             int xpos, int ypos) {
  stored_title_ = title;
  buttons_ = ParseButtonList(buttons.toUpper().toStdString());
  xpos_ = xpos;
  ypos_ = ypos;
  sound_num_ = -1;
  return RunBox(msg);
}

qint16 TLumMesg::ShowMessage(const QString& msg) {
  buttons_ = ButtonSet::Of({ButtonKind::mbOk});
  symbol_ = TSymbol::dgInformation;
  stored_title_.clear();
  xpos_ = -1;
  ypos_ = -1;
  sound_num_ = -1;
  return RunBox(msg);
}

Sounds& TLumMesg::ActiveSounds() {
  if (sounds_ != nullptr) return *sounds_;
  if (own_sounds_ == nullptr) own_sounds_ = MakeSystemSounds();
  return *own_sounds_;
}

std::unique_ptr<TMessageForm> TLumMesg::BuildBox(const QString& msg) {
  auto form = std::make_unique<TMessageForm>();
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint;
  if (dialog_style_ == TDialogStyle::dsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  form->setWindowFlags(flags);
  if (sound_num_ > -1) ActiveSounds().Play(sound_num_);

  // Centred on the screen of the window that owns the box, which may be any monitor.
  const QWidget* owner = qobject_cast<const QWidget*>(parent());
  const QScreen* screen = ScreenOf(owner);
  const QRect screen_rect = screen != nullptr ? screen->geometry() : QRect(0, 0, 800, 600);
  const QRect text_rect = QFontMetrics(font_text_)
                              .boundingRect(QRect(0, 0, MessageWrapWidth(screen_rect.width()), 0),
                                            kMessageTextFlags, msg);

  MessageLayoutInput input;
  input.button_char = AverageCharSizeOf(font_button_);
  input.text_char = AverageCharSizeOf(font_text_);
  input.text = {text_rect.width(), text_rect.height()};
  input.has_icon = HasIcon(symbol_);
  input.buttons = buttons_;
  input.spacing_units = spacing_units_;
  input.screen = ToRect(screen_rect);
  input.frame = FrameMarginsOf(*form, owner);
  const MessageLayout layout = layout_(input);

  form->setFixedSize(layout.client.width, layout.client.height);
  form->move(layout.left, layout.top);
  form->setWindowTitle(ToQString(DialogCaption(stored_title_.toStdString(), symbol_)));

  if (color_gradient1_ != color_gradient2_) {
    auto* gradient = new TLumGradient(form.get());
    gradient->setObjectName(QStringLiteral("Gradient"));
    gradient->SetColorBegin(color_gradient1_);
    gradient->SetColorEnd(color_gradient2_);
    gradient->SetGradient(vertical_gradient_ ? TGradientDirection::gdVertical
                                             : TGradientDirection::gdHorizontal);
    gradient->SetAlign(TAlign::alClient);
  }

  if (HasIcon(symbol_)) {
    auto* image = new QLabel(form.get());
    image->setObjectName(QStringLiteral("Image"));
    image->setPixmap(form->style()->standardIcon(IconOf(symbol_)).pixmap(32, 32));
    image->setGeometry(layout.icon.left, layout.icon.top, layout.icon.width, layout.icon.height);
  }

  auto* label = new MessageLabel(form.get());
  label->setObjectName(QStringLiteral("Message"));
  label->setWordWrap(true);
  label->setAlignment(ToQt(text_align_) | Qt::AlignTop);
  label->setFont(font_text_);
  label->setText(msg);
  label->setGeometry(layout.label.left, layout.label.top, layout.label.width, layout.label.height);

  for (const PlacedButton& placed : layout.buttons) {
    const ButtonInfo& info = InfoOf(placed.kind);
    auto* button = new TLumButt(form.get());
    button->setObjectName(QString::fromStdString(placed.name));
    button->setFont(font_button_);
    button->SetFlat(clear_buttons_);
    button->setText(ToQString(info.caption));
    button->SetResult(info.result);
    button->setGeometry(placed.bounds.left, placed.bounds.top, placed.bounds.width,
                        placed.bounds.height);
    connect(button, &TLumButt::clicked, this, [this, button] {
      if (current_dialog_ != nullptr) current_dialog_->done(button->Result());
    });
  }
  return form;
}

qint16 TLumMesg::RunBox(const QString& msg) {
  std::unique_ptr<TMessageForm> form = BuildBox(msg);
  current_dialog_ = form.get();
  QPalette palette = form->palette();
  palette.setColor(QPalette::Window, color_);
  form->setPalette(palette);
  form->setAutoFillBackground(true);
  QPoint position = form->pos();
  if (xpos_ >= 0) position.setX(xpos_);
  if (ypos_ >= 0) position.setY(ypos_);
  form->move(position);

  QMetaObject::invokeMethod(
      this,
      [this, running = QPointer<TMessageForm>(form.get())] {
        if (running != nullptr && running->isVisible()) emit DialogRunning(running.data());
      },
      Qt::QueuedConnection);
  const int result = form->exec();
  current_dialog_ = nullptr;
  return static_cast<qint16>(result);
}

}  // namespace quarrix
