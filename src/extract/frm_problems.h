#pragma once
// TfrmProblems: the modal list of what Check Trigger List found, one row a problem (its line
// and its text), the first selected. Enter, a double click or Go to Line closes it with the
// chosen row; Escape, Close or the close box close it without one.
#include <QDialog>
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/prompts.h"

class QToolButton;
class QTreeView;

namespace quarrix {

class TLumGradient;

class TfrmProblems : public QDialog {
  Q_OBJECT

 public:
  // The rows must outlive the dialog; there is at least one.
  explicit TfrmProblems(const std::vector<ProblemRow>& rows, QWidget* parent = nullptr);
  ~TfrmProblems() override;

  // Shows the dialog modally; the row chosen to go to, or nothing.
  std::optional<std::size_t> Execute();

  // Controls, also reachable by objectName.
  TLumGradient* LumGradient1 = nullptr;
  QTreeView* ListProblems = nullptr;
  QToolButton* btnGoTo = nullptr;
  QToolButton* btnClose = nullptr;

 public slots:
  void btnGoToClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<std::size_t> chosen_;
};

}  // namespace quarrix
