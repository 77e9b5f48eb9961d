#pragma once
// TLumButt: the flat, hand-cursor button of the message box. It carries the value that a
// click hands to the box as its result, and has no behaviour of its own.
#include <QToolButton>

namespace quarrix {

class TLumButt : public QToolButton {
  Q_OBJECT

 public:
  explicit TLumButt(QWidget* parent = nullptr);

  int Result() const { return result_; }
  void SetResult(int result) { result_ = result; }
  bool Flat() const { return autoRaise(); }
  void SetFlat(bool flat) { setAutoRaise(flat); }

 private:
  int result_ = 0;
};

}  // namespace quarrix
