#include "platform/qt_file_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringList>

#include "platform/file_filter.h"

namespace quarrix {
namespace {

// The existing files whose names are typed in the file name box of Qt's own dialog ("a" "b"
// for several), in its folder; empty when any is no file. Qt's selection keeps only the typed
// names that the chosen filter shows: a typed AmbCity.uax.uz2 beside shown .uax files would be
// left out without a word.
QStringList TypedFiles(const QFileDialog& dialog) {
  const auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (box == nullptr) return {};
  const QString text = box->text().trimmed();
  QStringList names;
  if (text.startsWith(u'"')) {
    for (qsizetype at = text.indexOf(u'"'); at >= 0; at = text.indexOf(u'"', at)) {
      const qsizetype end = text.indexOf(u'"', at + 1);
      if (end < 0) return {};
      names << text.mid(at + 1, end - at - 1);
      at = end + 1;
    }
  } else if (!text.isEmpty()) {
    names << text;
  }
  QStringList files;
  for (const QString& name : names) {
    const QFileInfo file(dialog.directory(), name);
    if (!file.isFile()) return {};
    files << file.absoluteFilePath();
  }
  return files;
}

}  // namespace

bool RunFileDialog(QWidget* parent, FileDialogState& state, FileDialogMode mode,
                   FileDialogLook look) {
  QFileDialog dialog(parent, QString::fromStdString(state.title));
  QStringList filters;
  for (const std::string& filter : NameFiltersOf(state.filter)) {
    filters << QString::fromStdString(filter);
  }
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = state.filter_index - 1;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
  }
  if (mode == FileDialogMode::kOpen) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // With one file the user may type a name that does not exist; opening it then reports the
    // error. A multi-selection takes existing files only, and the dialog refuses others.
    dialog.setFileMode(state.multi_select ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.overwrite_prompt);
  }
  dialog.setOption(QFileDialog::DontUseNativeDialog, !look.use_native);
  dialog.setSizeGripEnabled(state.enable_sizing);
  if (!state.initial_folder.empty()) {
    dialog.setDirectory(QFile::decodeName(state.initial_folder.c_str()));
  }
  if (!state.file_name.empty()) dialog.selectFile(QFile::decodeName(state.file_name.c_str()));

  if (dialog.exec() != QDialog::Accepted) return false;
  QStringList chosen = dialog.selectedFiles();
  if (state.multi_select) {
    if (const QStringList typed = TypedFiles(dialog); typed.size() > chosen.size()) chosen = typed;
  }
  if (chosen.isEmpty()) return false;
  state.file_names.clear();
  for (const QString& file : chosen) {
    state.file_names.push_back(QFile::encodeName(file).toStdString());
  }
  state.file_name = state.file_names.front();
  const int filter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  if (filter >= 0) state.filter_index = filter + 1;
  return true;
}

}  // namespace quarrix
