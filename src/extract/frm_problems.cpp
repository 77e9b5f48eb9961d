#include "extract/frm_problems.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "controls/app_icons.h"
#include "controls/bar_button.h"
#include "controls/lum_gradient.h"
#include "runtime/cp1252.h"

namespace quarrix {
namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 300;
constexpr int kMargin = 8;

// The rows as the list view reads them, decoded only when a row is painted, so a list of
// a hundred thousand problems opens at once.
class ProblemsModel final : public QAbstractTableModel {
 public:
  ProblemsModel(const std::vector<ProblemRow>& rows, QObject* parent)
      : QAbstractTableModel(parent), rows_(rows) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

  QVariant data(const QModelIndex& index, int role) const override {
    const ProblemRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == 0) {
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (index.column() == 0) return role == Qt::DisplayRole ? QVariant(row.line) : QVariant();
    return QString::fromStdU16String(cp1252::Decode(row.text));
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Line") : QStringLiteral("Problem");
  }

 private:
  const std::vector<ProblemRow>& rows_;
};

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& caption, AppIcon icon) {
  QToolButton* button =
      MakeDialogBarButton(parent, name, caption, MakeIcon(icon), QRect(0, 0, 97, 25));
  button->setFixedSize(97, 25);
  return button;
}

}  // namespace

TfrmProblems::TfrmProblems(const std::vector<ProblemRow>& rows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("frmProblems");
  setWindowTitle("Trigger List Problems");
  setWindowIcon(MakeIcon(AppIcon::kCheckList));
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  setFont(font);
  resize(kClientWidth, kClientHeight);

  // Created first, so it lies below every other control.
  LumGradient1 = new TLumGradient(this);
  LumGradient1->setObjectName("LumGradient1");
  LumGradient1->SetColorBegin(Qt::white);
  LumGradient1->SetColorEnd(QColor(144, 144, 144));
  LumGradient1->SetGradient(TGradientDirection::gdHorizontal);
  LumGradient1->SetAlign(TAlign::alClient);

  ListProblems = new QTreeView(this);
  ListProblems->setObjectName("ListProblems");
  ListProblems->setModel(new ProblemsModel(rows, ListProblems));
  ListProblems->setRootIsDecorated(false);
  ListProblems->setUniformRowHeights(true);
  ListProblems->setItemsExpandable(false);
  ListProblems->setAllColumnsShowFocus(true);
  ListProblems->setSelectionMode(QAbstractItemView::SingleSelection);
  ListProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QHeaderView* header = ListProblems->header();
  header->setSectionsMovable(false);
  header->setStretchLastSection(true);
  const int largest_line = rows.empty() ? 0 : rows.back().line;
  header->resizeSection(
      0, ListProblems->fontMetrics().horizontalAdvance(QString::number(largest_line)) + 24);
  ListProblems->installEventFilter(this);
  connect(ListProblems, &QTreeView::doubleClicked, this, &TfrmProblems::btnGoToClick);

  btnGoTo = MakeButton(this, "btnGoTo", "  &Go to Line", AppIcon::kFindNext);
  btnClose = MakeButton(this, "btnClose", "&Close", AppIcon::kCancel);
  connect(btnGoTo, &QToolButton::clicked, this, &TfrmProblems::btnGoToClick);
  connect(btnClose, &QToolButton::clicked, this, &TfrmProblems::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnGoTo);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(ListProblems, 1);
  layout->addLayout(buttons);

  if (!rows.empty()) ListProblems->setCurrentIndex(ListProblems->model()->index(0, 0));
  ListProblems->setFocus();
}

TfrmProblems::~TfrmProblems() = default;

std::optional<std::size_t> TfrmProblems::Execute() {
  chosen_.reset();
  exec();
  return chosen_;
}

void TfrmProblems::btnGoToClick() {
  const QModelIndex current = ListProblems->currentIndex();
  if (!current.isValid()) return;
  chosen_ = static_cast<std::size_t>(current.row());
  accept();
}

bool TfrmProblems::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListProblems && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      btnGoToClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quarrix
