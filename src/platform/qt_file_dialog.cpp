#include "platform/qt_file_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include "platform/file_filter.h"

namespace quarrix {

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

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  state.file_names.clear();
  for (const QString& file : dialog.selectedFiles()) {
    state.file_names.push_back(QFile::encodeName(file).toStdString());
  }
  state.file_name = state.file_names.front();
  const int chosen = filters.indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) state.filter_index = chosen + 1;
  return true;
}

}  // namespace quarrix
