#include "app/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFrame>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/desktop_icon_command.h"
#include "app/error_display.h"
#include "app/file_drop.h"
#include "app/program_paths.h"
#include "app/recovery_keeper.h"
#include "controls/app_icons.h"
#include "controls/bar_button.h"
#include "controls/bc_bar_popup_menu.h"
#include "controls/bm_shaped_button.h"
#include "controls/lum_draw_module.h"
#include "controls/lum_gradient.h"
#include "controls/lum_mesg.h"
#include "controls/wd_gradient_panel.h"
#include "controls/window_frames.h"
#include "editor/syn_edit.h"
#include "extract/extraction_command.h"
#include "extract/extraction_paths.h"
#include "extract/list_check_command.h"
#include "extract/play_sound_command.h"
#include "listedit/document_commands.h"
#include "listedit/find_commands.h"
#include "listedit/list_commands.h"
#include "platform/dropped_files.h"

namespace quarrix {
namespace {

constexpr int kClientWidth = 648;
constexpr int kClientHeight = 372;
constexpr int kQuitRightMargin = 12;  // btnQuit keeps this distance from the right edge

QFont WindowFont() {
  QFont font("MS Sans Serif");
  font.setPointSize(8);
  return font;
}

QToolButton* MakeBoldBarButton(QWidget* parent, const char* name, const QString& caption,
                               AppIcon icon, QRect bounds) {
  QToolButton* button = MakeBarButton(parent, name, caption, MakeIcon(icon), bounds);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  return button;
}

}  // namespace

const char* const TfrmMain::kAboutText =
    "Quoom Trigger Extractor\n"
    "v2.0\n"
    "\n"
    "This will extract the Triggernames\n"
    "and all required parameters from as\n"
    "many Sound.uax files as you need.\n"
    "You can then choose to sort them\n"
    "alphabetical and finally check for\n"
    "duplications which will be listed\n"
    "at the end of the Trigger list.";

TfrmMain::TfrmMain(ProgramState& state, Prompts& prompts, Sounds& sounds, SoundPlayer& player,
                   const std::string& executable_path, QWidget* parent)
    : QWidget(parent),
      state_(state),
      prompts_(prompts),
      sounds_(sounds),
      player_(player),
      executable_path_(executable_path) {
  setObjectName("frmMain");
  setWindowTitle("Quoom uax Extractor");
  setWindowIcon(MakeIcon(AppIcon::kProgram));
  setFont(WindowFont());
  resize(kClientWidth, kClientHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const Point corner = CentredWindowPosition(ToRect(screen->availableGeometry()),
                                               FrameMarginsOf(*this), {width(), height()});
    move(corner.x, corner.y);
  }
  OpenDialog1.filter = "*.uax";
  OpenDialog1.title = "Quoom .uax to ini Converter.";
  SaveDialog1.overwrite_prompt = true;
  SaveDialog1.enable_sizing = true;
  setAcceptDrops(true);

  BuildControls();
  ConfigureMessageBox();
  BuildMenu();
  context_ = std::make_unique<CommandContext>(
      CommandContext{*SynEdit1, *btnSave, *PanelTop, OpenDialog1, SaveDialog1, state_, prompts_,
                     sounds_, nullptr, nullptr, [this] {
                       quitting_ = true;
                       if (recovery_) recovery_->LetGo();
                       close();
                       QCoreApplication::quit();
                     }});
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  PanelTop = new TWDGradientPanel(this);
  PanelTop->setObjectName("PanelTop");
  PanelTop->setFixedHeight(28);
  btnOptions = new TBMShapedButton(PanelTop);
  btnOptions->setObjectName("btnOptions");
  btnOptions->setText("Options");
  btnOptions->setGeometry(8, 2, 93, 25);
  layout->addWidget(PanelTop);

  SynEdit1 = new TSynEdit(this);
  SynEdit1->setObjectName("SynEdit1");
  SynEdit1->SetSounds(&sounds_);
  connect(SynEdit1, &TSynEdit::OnChange, this, &TfrmMain::SynEdit1Change);
  SynEdit1->SetOnKeyDown([this](TSynEdit& sender, int& key, TShiftState shift) {
    SynEdit1KeyDown(sender, key, shift);
  });
  layout->addWidget(SynEdit1, 1);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(1);
  Panel1->setFixedHeight(33);
  layout->addWidget(Panel1);
  Panel1->installEventFilter(this);

  LumGradient1 = new TLumGradient(Panel1);
  LumGradient1->setObjectName("LumGradient1");
  LumGradient1->SetColorBegin(Qt::white);
  LumGradient1->SetGradient(TGradientDirection::gdHorizontal);
  LumGradient1->setGeometry(Panel1->contentsRect());

  btnGetQuooms = MakeBoldBarButton(Panel1, "btnGetQuooms", " Get Quooms", AppIcon::kGetQuooms,
                                   QRect(12, 4, 120, 24));
  btnSave =
      MakeBoldBarButton(Panel1, "btnSave", " Save File", AppIcon::kSave, QRect(263, 4, 112, 24));
  btnSave->setToolTip("For editing");
  btnQuit = MakeBoldBarButton(Panel1, "btnQuit", "  &Exit", AppIcon::kExit, QRect(535, 4, 101, 24));
  connect(btnSave, &QToolButton::clicked, this, &TfrmMain::btnSaveClick);
  connect(btnQuit, &QToolButton::clicked, this, &TfrmMain::btnQuitClick);
  connect(btnGetQuooms, &QToolButton::clicked, this, &TfrmMain::btnGetQuoomsClick);

  // The editor is the only control that takes the keyboard focus.
  SynEdit1->setFocus();
}

void TfrmMain::ConfigureMessageBox() {
  LumMesg1 = new TLumMesg(this);
  LumMesg1->setObjectName("LumMesg1");
  LumMesg1->SetSounds(&sounds_);
  LumMesg1->SetColorGradient1(Qt::white);
  LumMesg1->SetColorGradient2(QColor(128, 128, 128));
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  font.setBold(true);
  LumMesg1->SetFontText(font);
  LumMesg1->SetFontButton(font);
  LumMesg1->SetSoundNum(-1);
  LumMesg1->SetSymbol(TSymbol::dgInformation);
  LumMesg1->SetVerticalGradient(false);
}

void TfrmMain::BuildMenu() {
  LumDrawModule1 = new TLumDrawModule(this);
  LumDrawModule1->setObjectName("LumDrawModule1");
  LumDrawModule1->SetColorGradient1(Qt::white);
  LumDrawModule1->SetColorGradient2(QColor(128, 128, 128));
  LumDrawModule1->SetColorNormalText(Qt::black);
  LumDrawModule1->SetColorSelectText(Qt::white);
  LumDrawModule1->SetCursorGradient1(QColor(192, 192, 192));
  LumDrawModule1->SetCursorGradient2(Qt::black);
  LumDrawModule1->SetTextBold(false);
  LumDrawModule1->SetTextHeight(18);
  LumDrawModule1->SetTextSpacing(32);
  LumDrawModule1->SetWidth(20);

  BcBarPopupMenu1 = new TBcBarPopupMenu(this);
  BcBarPopupMenu1->setObjectName("BcBarPopupMenu1");
  BcBarPopupMenu1->setFont(WindowFont());
  BcBarPopupMenu1->SetBarCaption("Quoom Extract");
  QFont bar_font("Tahoma");
  bar_font.setPixelSize(19);
  bar_font.setBold(true);
  bar_font.setItalic(true);
  BcBarPopupMenu1->SetBarFont(bar_font);
  BcBarPopupMenu1->SetDrawModule(LumDrawModule1);

  TBcBarPopupMenu& menu = *BcBarPopupMenu1;
  OpenFile1 = menu.AddItem("OpenFile1", "Open Trigger File", MakeIcon(AppIcon::kOpen));
  SaveFile1 = menu.AddItem("SaveFile1", "Save Trigger File", MakeIcon(AppIcon::kSave));
  N3 = menu.AddSeparator("N3");
  GetQuoom1 = menu.AddItem("GetQuoom1", "Get Quooms ", MakeIcon(AppIcon::kGetQuooms));
  BrowseSounds1 =
      menu.AddItem("BrowseSounds1", "Browse Sounds", MakeIcon(AppIcon::kBrowse), "Ctrl+B");
  MenuAlphatize = menu.AddItem("MenuAlphatize", "Sort Alphabetically", MakeIcon(AppIcon::kSort));
  CheckDuplicates1 =
      menu.AddItem("CheckDuplicates1", "Check for Duplicates", MakeIcon(AppIcon::kDuplicates));
  CheckList1 =
      menu.AddItem("CheckList1", "Check Trigger List", MakeIcon(AppIcon::kCheckList), "Ctrl+K");
  N4 = menu.AddSeparator("N4");
  FindFirst1 = menu.AddItem("FindFirst1", "Find First", MakeIcon(AppIcon::kFindFirst), "Ctrl+F");
  FindNext2 = menu.AddItem("FindNext2", "Find Next", MakeIcon(AppIcon::kFindNext), "F3");
  PlaySound1 = menu.AddItem("PlaySound1", "Play Sound", MakeIcon(AppIcon::kPlaySound), "Ctrl+P");
  N1 = menu.AddSeparator("N1");
  DesktopIcon1 = menu.AddItem("DesktopIcon1", "Create Desktop Icon", MakeIcon(AppIcon::kDesktop));
  ClearCurrent1 = menu.AddItem("ClearCurrent1", "Clear Current Edits", MakeIcon(AppIcon::kClear));
  AboutQuarrix1 = menu.AddItem("AboutQuarrix1", "About Quarrix", MakeIcon(AppIcon::kAbout));
  N2 = menu.AddSeparator("N2");
  MenuExit = menu.AddItem("MenuExit", "Exit Quarrix", MakeIcon(AppIcon::kExit));
  btnOptions->SetDropDownMenu(BcBarPopupMenu1);

  connect(OpenFile1, &QAction::triggered, this, &TfrmMain::OpenFile1Click);
  connect(SaveFile1, &QAction::triggered, this, &TfrmMain::SaveFile1Click);
  connect(ClearCurrent1, &QAction::triggered, this, &TfrmMain::ClearCurrent1Click);
  connect(AboutQuarrix1, &QAction::triggered, this, &TfrmMain::AboutQuarrix1Click);
  connect(MenuExit, &QAction::triggered, this, &TfrmMain::btnQuitClick);
  connect(DesktopIcon1, &QAction::triggered, this, &TfrmMain::DesktopIcon1Click);
  connect(GetQuoom1, &QAction::triggered, this, &TfrmMain::btnGetQuoomsClick);
  connect(BrowseSounds1, &QAction::triggered, this, &TfrmMain::BrowseSounds1Click);
  connect(MenuAlphatize, &QAction::triggered, this, &TfrmMain::MenuAlphatizeClick);
  connect(CheckDuplicates1, &QAction::triggered, this, &TfrmMain::CheckDuplicates1Click);
  connect(CheckList1, &QAction::triggered, this, &TfrmMain::CheckList1Click);
  connect(FindFirst1, &QAction::triggered, this, &TfrmMain::FindFirst1Click);
  connect(FindNext2, &QAction::triggered, this, &TfrmMain::FindNext2Click);
  connect(PlaySound1, &QAction::triggered, this, &TfrmMain::PlaySound1Click);
}

void TfrmMain::KeepRecoveryCopiesIn(const std::string& folder) {
  recovery_ = std::make_unique<RecoveryKeeper>(folder, *SynEdit1, state_);
}

void TfrmMain::SetDialogs(TfrmConfig* config, TfrmFind* find) {
  context_->config = config;
  context_->find = find;
}

void TfrmMain::SetQuitHandler(std::function<void()> quit) {
  context_->quit = [this, quit = std::move(quit)] {
    quitting_ = true;
    if (recovery_) recovery_->LetGo();
    quit();
  };
}

template <typename Command>
void TfrmMain::Run(Command&& command) {
  RunGuarded(prompts_, sounds_, std::forward<Command>(command));
  // A command may have changed the list, saved it or emptied it.
  if (recovery_) recovery_->ListChanged();
}

void TfrmMain::FormCreate() {
  state_.program_folder = ProgramFolderOf(executable_path_);
  btnSave->setEnabled(false);
}

void TfrmMain::btnGetQuoomsClick() {
  Run([this] { GetQuooms(*context_); });
}

void TfrmMain::BrowseSounds1Click() {
  Run([this] { BrowseSounds(*context_); });
}

void TfrmMain::btnSaveClick() {
  Run([this] { SaveTriggerList(*context_); });
}

void TfrmMain::SaveFile1Click() {
  Run([this] { SaveTriggerListFromMenu(*context_); });
}

void TfrmMain::OpenFile1Click() {
  Run([this] { OpenTriggerFile(*context_); });
}

void TfrmMain::ClearCurrent1Click() {
  Run([this] { ClearCurrentEdits(*context_); });
}

void TfrmMain::btnQuitClick() {
  Run([this] { ExitProgram(*context_); });
}

void TfrmMain::AboutQuarrix1Click() {
  Run([this] {
    sounds_.Play(Sounds::kExclamation);
    // The alignment stays: later boxes of LumMesg1 are centred too.
    LumMesg1->SetTextAlign(TAlignment::taCenter);
    prompts_.ShowMessage(kAboutText);
  });
}

void TfrmMain::DesktopIcon1Click() {
  Run([this] {
    const auto folders = MakeSystemShellFolders();
    const auto writer = MakeSystemShortcutWriter();
    CreateDesktopIcon(state_.program_folder, *folders, *writer, sounds_);
  });
}

void TfrmMain::SynEdit1Change() {
  btnSave->setEnabled(true);
  // The user's own edits are work the save prompt must guard.
  state_.unsaved = true;
  if (recovery_) recovery_->ListChanged();
}

void TfrmMain::MenuAlphatizeClick() {
  Run([this] { SortAlphabetically(*context_); });
}

void TfrmMain::CheckDuplicates1Click() {
  Run([this] { CheckForDuplicates(*context_); });
}

void TfrmMain::CheckList1Click() {
  Run([this] { CheckEditorList(*context_); });
}

void TfrmMain::FindFirst1Click() {
  Run([this] { FindFirst(*context_); });
}

void TfrmMain::FindNext2Click() {
  Run([this] { FindNext(*context_); });
}

void TfrmMain::PlaySound1Click() {
  Run([this] {
    const std::string line = SynEdit1->Lines().Get(SynEdit1->CaretXY().line - 1);
    PlayEntrySound(line,
                   PlaySoundFolders(state_.last_package_folder, state_.last_trigger_file_folder,
                                    DefaultSoundFolders()),
                   player_, sounds_);
  });
}

void TfrmMain::SynEdit1KeyDown(TSynEdit&, int& key, TShiftState shift) {
  constexpr int kKeyB = 66;
  constexpr int kKeyF = 70;
  constexpr int kKeyK = 75;
  constexpr int kKeyP = 80;
  if (key == vk::kF3) FindNext2Click();
  if (key == kKeyF && shift.Contains(TShiftFlag::ssCtrl)) FindFirst1Click();
  if (key == kKeyP && shift.Contains(TShiftFlag::ssCtrl)) PlaySound1Click();
  if (key == kKeyB && shift.Contains(TShiftFlag::ssCtrl)) BrowseSounds1Click();
  if (key == kKeyK && shift.Contains(TShiftFlag::ssCtrl)) CheckList1Click();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (quitting_) {
    player_.Stop();
    event->accept();
    return;
  }
  // The close box asks as Exit does, so unsaved work is never lost without a question.
  bool go_on = false;
  Run([&] { go_on = GuardUnsavedWork(*context_) == PromptOutcome::kGoOn; });
  if (go_on) {
    quitting_ = true;
    if (recovery_) recovery_->LetGo();
    player_.Stop();
    event->accept();
    QCoreApplication::quit();
  } else {
    event->ignore();
  }
}

void TfrmMain::FilesDropped(const std::vector<std::string>& paths) {
  switch (KindOfDrop(paths)) {
    case DropKind::kTriggerFile:
      Run([&] { OpenTriggerFileAt(*context_, paths.front()); });
      break;
    case DropKind::kPackages:
      Run([&] { GetQuoomsFrom(*context_, paths); });
      break;
    case DropKind::kRefused:
      sounds_.Play(Sounds::kPlain);
      break;
  }
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TfrmMain::dragMoveEvent(QDragMoveEvent* event) {
  // Any files are taken; the drop decides whether they are refused, with the beep.
  if (DroppedFiles(*event->mimeData()).empty()) {
    event->ignore();
  } else {
    event->acceptProposedAction();
  }
}

void TfrmMain::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = DroppedFiles(*event->mimeData());
  if (paths.empty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // Run once the drop is over: the source (a file manager) waits for its end, and the
  // command may show modal dialogs.
  QTimer::singleShot(0, this, [this, paths = std::move(paths)] { FilesDropped(paths); });
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  // btnQuit is anchored to the right edge of the button bar.
  if (watched == Panel1 && event->type() == QEvent::Resize) PlaceButtons();
  return QWidget::eventFilter(watched, event);
}

void TfrmMain::PlaceButtons() {
  if (Panel1 == nullptr) return;
  LumGradient1->setGeometry(Panel1->contentsRect());
  btnQuit->move(Panel1->width() - kQuitRightMargin - btnQuit->width(), btnQuit->y());
}

}  // namespace quarrix
