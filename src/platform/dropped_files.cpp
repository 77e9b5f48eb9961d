#include "platform/dropped_files.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace quarrix {

std::vector<std::string> DroppedFiles(const QMimeData& data) {
  if (!data.hasUrls()) return {};
  std::vector<std::string> paths;
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile() || url.toLocalFile().isEmpty()) return {};
    paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return paths;
}

}  // namespace quarrix
