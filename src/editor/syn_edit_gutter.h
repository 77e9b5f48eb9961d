#pragma once
// The editor's line-number gutter: zero-padded numbers, right-aligned, over a white-to-grey
// face with a black line and a button-face line at its right edge.
#include <QWidget>

namespace quarrix {

class TSynEdit;

class SynEditGutter final : public QWidget {
  Q_OBJECT

 public:
  explicit SynEditGutter(TSynEdit& editor);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TSynEdit& editor_;
};

}  // namespace quarrix
