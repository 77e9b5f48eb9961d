#pragma once
// TfrmConfig: the options dialog of the extraction command. Created once and kept, so its
// seven check boxes hold their states for the program's life; Submitted tells Submit from
// every other way of closing it (Cancel, the close box, Escape).
#include <QDialog>

class QFrame;
class QToolButton;

namespace quarrix {

class TLumCheckBox;
class TLumGradient;

class TfrmConfig : public QDialog {
  Q_OBJECT

 public:
  // Centred on parent (the main window) whenever it is shown.
  explicit TfrmConfig(QWidget* parent = nullptr);
  ~TfrmConfig() override;

  // Whether the dialog was last closed with Submit; false until the first Submit.
  bool Submitted() const { return submitted_; }

  // Offers "Add to current File" or takes it away; taking it away also clears it, so an
  // option the user cannot see is never in force.
  void SetAddFileOffered(bool offered);

  // Controls, also reachable by objectName.
  TLumGradient* LumGradient2 = nullptr;
  TLumCheckBox* CheckBoxTrigger = nullptr;
  TLumCheckBox* CheckBoxDedicated = nullptr;
  TLumCheckBox* CheckBoxHideMenu = nullptr;
  TLumCheckBox* CheckBoxAdmin = nullptr;
  TLumCheckBox* CheckBoxRandom = nullptr;
  TLumCheckBox* CheckBoxSoundsOnly = nullptr;
  TLumCheckBox* CheckBoxAddFile = nullptr;
  QFrame* Panel1 = nullptr;
  TLumGradient* LumGradient1 = nullptr;
  QToolButton* btnSubmit = nullptr;
  QToolButton* btnCancel = nullptr;

 public slots:
  void btnSubmitClick();
  void btnCancelClick();
  // The close box and Escape end up here: they count as Cancel.
  void reject() override;

 private:
  TLumCheckBox* AddCheckBox(const char* name, const QString& caption, QRect bounds);
  QToolButton* AddButton(const char* name, const QString& caption, const QIcon& icon, QRect bounds);

  bool submitted_ = false;
};

}  // namespace quarrix
