#pragma once
// TfrmFind: the modal find dialog of Find First. It is created once, hidden, and shown by
// Execute(); its combo box holds the text to find and never keeps a history.
#include <QDialog>
#include <string>
#include <string_view>

class QComboBox;
class QLabel;
class QToolButton;

namespace quarrix {

class TLumGradient;

class TfrmFind : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmFind(QWidget* parent = nullptr);

  // Shows the dialog modally. True when it was left with Find (the button or Enter); Cancel,
  // Escape and the close box report not submitted.
  bool Execute();
  bool Submitted() const { return submitted_; }

  // The text of CBSearch as Windows-1252 bytes, the editor's encoding.
  std::string SearchText() const;
  void SetSearchText(std::string_view bytes);

  // A key typed into CBSearch: Enter (13) finds, Escape (27) closes; true when it was used.
  bool CBSearchKeyPress(int key);

  QWidget* PanelSearch = nullptr;
  TLumGradient* LumGradient1 = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* CBSearch = nullptr;
  QToolButton* btnFind = nullptr;
  QToolButton* btnCancel = nullptr;

 public slots:
  void FormShow();
  void btnFindClick();
  void btnCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool submitted_ = false;
};

}  // namespace quarrix
