#include "platform/xdg_shell_folders.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

namespace quarrix {
namespace {

std::string Writable(QStandardPaths::StandardLocation location, const QString& below = {}) {
  const QString folder = QStandardPaths::writableLocation(location);
  if (folder.isEmpty()) return {};
  return QFile::encodeName(folder + below).toStdString();
}

}  // namespace

std::string XdgShellFolders::FolderPath(int folder_id) {
  switch (folder_id) {
    case kCsidlDesktop:
      return Writable(QStandardPaths::DesktopLocation);
    case kCsidlPersonal:
      return Writable(QStandardPaths::DocumentsLocation);
    case kCsidlPrograms:
    case kCsidlStartMenu:
      return Writable(QStandardPaths::ApplicationsLocation);
    case kCsidlStartup:
      // $XDG_CONFIG_HOME/autostart, where session managers look for programs to start.
      return Writable(QStandardPaths::GenericConfigLocation, QStringLiteral("/autostart"));
    default:
      return {};
  }
}

std::unique_ptr<ShellFolders> MakeSystemShellFolders() {
  return std::make_unique<XdgShellFolders>();
}

}  // namespace quarrix
