#pragma once
// TfrmMain: the one main window. It holds the trigger list editor, the title panel, the
// button bar and the command menu, and runs every command from its handlers; the commands
// themselves live in their own units and reach the window through a CommandContext.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/key_codes.h"
#include "listedit/command_context.h"
#include "platform/prompts.h"
#include "platform/sound_player.h"

class QAction;
class QFrame;
class QToolButton;

namespace quarrix {

class RecoveryKeeper;
class TBMShapedButton;
class TBcBarPopupMenu;
class TLumDrawModule;
class TLumGradient;
class TLumMesg;
class TSynEdit;
class TWDGradientPanel;

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  // The executable's path gives the program folder (FormCreate); Play Sound plays through
  // `player`, which closing the window stops.
  TfrmMain(ProgramState& state, Prompts& prompts, Sounds& sounds, SoundPlayer& player,
           const std::string& executable_path, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The dialogs created after the main window; the commands that need them use them.
  void SetDialogs(TfrmConfig* config, TfrmFind* find);
  // What Exit does once the save prompt let it go on (by default: end the event loop).
  void SetQuitHandler(std::function<void()> quit);
  CommandContext& Context() { return *context_; }
  // Keeps a recovery copy of unsaved work in the folder (see RecoveryKeeper).
  void KeepRecoveryCopiesIn(const std::string& folder);
  RecoveryKeeper* Recovery() { return recovery_.get(); }

  // Controls and components, also reachable by objectName.
  TWDGradientPanel* PanelTop = nullptr;
  TBMShapedButton* btnOptions = nullptr;
  TSynEdit* SynEdit1 = nullptr;
  QFrame* Panel1 = nullptr;
  TLumGradient* LumGradient1 = nullptr;
  QToolButton* btnGetQuooms = nullptr;
  QToolButton* btnSave = nullptr;
  QToolButton* btnQuit = nullptr;
  FileDialogState OpenDialog1;
  FileDialogState SaveDialog1;
  TLumMesg* LumMesg1 = nullptr;
  TBcBarPopupMenu* BcBarPopupMenu1 = nullptr;
  TLumDrawModule* LumDrawModule1 = nullptr;

  QAction* OpenFile1 = nullptr;
  QAction* SaveFile1 = nullptr;
  QAction* N3 = nullptr;
  QAction* GetQuoom1 = nullptr;
  QAction* BrowseSounds1 = nullptr;
  QAction* MenuAlphatize = nullptr;
  QAction* CheckDuplicates1 = nullptr;
  QAction* CheckList1 = nullptr;
  QAction* N4 = nullptr;
  QAction* FindFirst1 = nullptr;
  QAction* FindNext2 = nullptr;
  QAction* PlaySound1 = nullptr;
  QAction* N1 = nullptr;
  QAction* DesktopIcon1 = nullptr;
  QAction* ClearCurrent1 = nullptr;
  QAction* AboutQuarrix1 = nullptr;
  QAction* N2 = nullptr;
  QAction* MenuExit = nullptr;

  // The About text, its lines joined by line breaks.
  static const char* const kAboutText;

 public slots:
  void FormCreate();
  void btnGetQuoomsClick();
  void BrowseSounds1Click();
  void btnSaveClick();
  void SaveFile1Click();
  void OpenFile1Click();
  void ClearCurrent1Click();
  void btnQuitClick();
  void AboutQuarrix1Click();
  void DesktopIcon1Click();
  void SynEdit1Change();
  void MenuAlphatizeClick();
  void CheckDuplicates1Click();
  void CheckList1Click();
  void FindFirst1Click();
  void FindNext2Click();
  void PlaySound1Click();

 public:
  // F3 runs Find Next, Ctrl+F Find First, Ctrl+P Play Sound, Ctrl+B Browse Sounds, Ctrl+K Check
  // Trigger List; the key then goes on to the editor unchanged.
  void SynEdit1KeyDown(TSynEdit& sender, int& key, TShiftState shift);
  // Files dropped on the window or the editor: one trigger file is opened, packages are taken
  // by Get Quooms without its package dialog, anything else is refused with the plain beep.
  void FilesDropped(const std::vector<std::string>& paths);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  void ConfigureMessageBox();
  void PlaceButtons();
  template <typename Command>
  void Run(Command&& command);

  ProgramState& state_;
  Prompts& prompts_;
  Sounds& sounds_;
  SoundPlayer& player_;
  std::string executable_path_;
  std::unique_ptr<CommandContext> context_;
  std::unique_ptr<RecoveryKeeper> recovery_;
  bool quitting_ = false;
};

}  // namespace quarrix
