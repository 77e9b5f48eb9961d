#pragma once
// The main window's title panel: a left-to-right gradient from white to grey 0x808080
// with a bold, centred caption (the last opened or saved file name).
#include <QColor>
#include <QString>
#include <QWidget>

namespace quarrix {

class TWDGradientPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TWDGradientPanel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QColor color_begin_{Qt::white};
  QColor color_end_{0x80, 0x80, 0x80};
};

}  // namespace quarrix
