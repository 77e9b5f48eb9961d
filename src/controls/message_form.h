#pragma once
// TMessageForm: the window of one message box, built by TLumMesg for a single call and
// destroyed after it. Closing it without a button (close box, Escape) answers 2 (Cancel).
#include <QDialog>

namespace quarrix {

class TMessageForm : public QDialog {
  Q_OBJECT

 public:
  explicit TMessageForm(QWidget* parent = nullptr);

 public slots:
  void reject() override;
};

}  // namespace quarrix
