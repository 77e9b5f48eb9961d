#pragma once
// TLumGradient: a two-colour linear fill over its whole rectangle. At its first paint it
// moves behind its siblings, so labels and buttons on the same parent paint over it.
#include <QColor>
#include <QWidget>

namespace quarrix {

enum class TGradientDirection { gdHorizontal, gdVertical };
// alClient keeps the control over its parent's whole client area as the parent resizes.
enum class TAlign { alNone, alClient };

class TLumGradient : public QWidget {
  Q_OBJECT

 public:
  explicit TLumGradient(QWidget* parent = nullptr);

  QColor ColorBegin() const { return color_begin_; }
  void SetColorBegin(const QColor& colour);
  QColor ColorEnd() const { return color_end_; }
  void SetColorEnd(const QColor& colour);
  TGradientDirection Gradient() const { return gradient_; }
  void SetGradient(TGradientDirection direction);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool SentToBack() const { return sent_to_back_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FollowParent();

  QColor color_begin_;
  QColor color_end_;
  TGradientDirection gradient_ = TGradientDirection::gdHorizontal;
  TAlign align_ = TAlign::alNone;
  bool sent_to_back_ = false;
};

}  // namespace quarrix
