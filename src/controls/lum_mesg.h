#pragma once
// TLumMesg: shows a styled modal message box on demand: a message, an optional system
// icon, a caption and a row of buttons named in a plain string such as
// "mbYes,mbNo,mbCancel". Each call builds the box afresh and destroys it before returning.
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "controls/message_layout.h"

namespace quarrix {

class Sounds;
class TMessageForm;

enum class TAbout { None, Help };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TDialogStyle { dsStayOnTop, dsNormal };

class TLumMesg : public QObject {
  Q_OBJECT

 public:
  explicit TLumMesg(QObject* parent = nullptr);
  ~TLumMesg() override;

  // Setting Help plays the exclamation sound and shows the usage text through ShowMessage
  // (with its side effects); the property then reads None again.
  TAbout About_Help() const { return about_help_; }
  void SetAbout_Help(TAbout value);
  // Flat buttons 1 dialog unit apart, or raised ones 4 units apart.
  bool ClearButtons() const { return clear_buttons_; }
  void SetClearButtons(bool clear);
  QColor Color() const { return color_; }
  void SetColor(const QColor& colour);
  QColor ColorGradient1() const { return color_gradient1_; }
  void SetColorGradient1(const QColor& colour) { color_gradient1_ = colour; }
  QColor ColorGradient2() const { return color_gradient2_; }
  void SetColorGradient2(const QColor& colour) { color_gradient2_ = colour; }
  QFont FontButton() const { return font_button_; }
  void SetFontButton(const QFont& font) { font_button_ = font; }
  QFont FontText() const { return font_text_; }
  void SetFontText(const QFont& font) { font_text_ = font; }
  // A sound type (0, 16, 32, 48, 64) played when a box is built; -1 for none. Both show
  // operations set it to -1 before they build, so callers play their own sounds.
  int SoundNum() const { return sound_num_; }
  void SetSoundNum(int type) { sound_num_ = type; }
  TSymbol Symbol() const { return symbol_; }
  void SetSymbol(TSymbol symbol) { symbol_ = symbol; }
  TAlignment TextAlign() const { return text_align_; }
  void SetTextAlign(TAlignment align) { text_align_ = align; }
  bool VerticalGradient() const { return vertical_gradient_; }
  void SetVerticalGradient(bool vertical) { vertical_gradient_ = vertical; }
  // Outer left and top edge of the box on the screen; negative keeps the centred value.
  int Xpos() const { return xpos_; }
  void SetXpos(int x) { xpos_ = x; }
  int Ypos() const { return ypos_; }
  void SetYpos(int y) { ypos_ = y; }

  // Where sounds go; the platform's own sounds until one is set. Not owned.
  void SetSounds(Sounds* sounds) { sounds_ = sounds; }

  // How a box is laid out from what was measured of its fonts, text, screen and frame:
  // LayoutMessageBox, unless a test puts in another function to see that the box is built
  // from the layout it is handed.
  using LayoutFunction = std::function<MessageLayout(const MessageLayoutInput&)>;
  void SetLayoutFunction(LayoutFunction layout) { layout_ = std::move(layout); }

  // Shows msg with the caption title and the buttons named in `buttons`; returns the
  // pressed button's result, or 2 when the box was closed without one. Stores title,
  // the button set and the position for later calls.
  qint16 MessageShow(const QString& msg, const QString& title, const QString& buttons, int xpos,
                     int ypos);
  // Shows msg with an OK button, the information icon and the caption "Information",
  // centred. Leaves Symbol dgInformation, the title empty and the position at -1.
  qint16 ShowMessage(const QString& msg);

  // What the last show operation stored.
  QString StoredTitle() const { return stored_title_; }
  ButtonSet Buttons() const { return buttons_; }
  TDialogStyle DialogStyle() const { return dialog_style_; }

 signals:
  // Emitted once the box's modal loop runs, so a caller (a test, a screenshot) can look at
  // the built box and answer it.
  void DialogRunning(TMessageForm* dialog);

 private:
  std::unique_ptr<TMessageForm> BuildBox(const QString& msg);
  qint16 RunBox(const QString& msg);
  Sounds& ActiveSounds();

  TAbout about_help_ = TAbout::None;
  bool clear_buttons_ = true;
  QColor color_;
  QColor color_gradient1_;
  QColor color_gradient2_;
  QFont font_button_;
  QFont font_text_;
  int sound_num_ = -1;
  TSymbol symbol_ = TSymbol::dgWarning;
  TAlignment text_align_ = TAlignment::taLeftJustify;
  bool vertical_gradient_ = false;
  int xpos_ = -1;
  int ypos_ = -1;

  QString stored_title_;
  ButtonSet buttons_ = ButtonSet::Of({ButtonKind::mbOk});
  int spacing_units_ = 1;
  TDialogStyle dialog_style_ = TDialogStyle::dsStayOnTop;
  QPointer<TMessageForm> current_dialog_;

  Sounds* sounds_ = nullptr;
  std::unique_ptr<Sounds> own_sounds_;
  LayoutFunction layout_ = LayoutMessageBox;
};

}  // namespace quarrix
