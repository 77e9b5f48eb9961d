#include "app/kept_options.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <array>
#include <utility>

#include "controls/lum_check_box.h"
#include "extract/frm_choose_sounds.h"
#include "extract/frm_config.h"
#include "runtime/file_io.h"

namespace quarrix {
namespace {

using BoxOf = TLumCheckBox* TfrmConfig::*;

// The kept boxes, each under its object name in the group "Options".
constexpr std::array<std::pair<const char*, BoxOf>, 6> kKeptBoxes{{
    {"Options/CheckBoxTrigger", &TfrmConfig::CheckBoxTrigger},
    {"Options/CheckBoxDedicated", &TfrmConfig::CheckBoxDedicated},
    {"Options/CheckBoxHideMenu", &TfrmConfig::CheckBoxHideMenu},
    {"Options/CheckBoxAdmin", &TfrmConfig::CheckBoxAdmin},
    {"Options/CheckBoxRandom", &TfrmConfig::CheckBoxRandom},
    {"Options/CheckBoxSoundsOnly", &TfrmConfig::CheckBoxSoundsOnly},
}};

// QSettings reads its file when made; a FIFO there would block start-up.
bool CanHoldSettings(const std::string& path) {
  const PathKind kind = KindOfPath(path);
  return kind == PathKind::kMissing || kind == PathKind::kRegularFile;
}

}  // namespace

std::unique_ptr<QSettings> OpenUserSettings() {
#ifdef _WIN32
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("Quarrix"), QStringLiteral("Quarrix"));
#else
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) return nullptr;
  return OpenSettingsFile(QFile::encodeName(folder + "/Quarrix/Quarrix.conf").toStdString());
#endif
}

std::unique_ptr<QSettings> OpenSettingsFile(const std::string& path) {
  if (!CanHoldSettings(path)) return nullptr;
  return std::make_unique<QSettings>(QFile::decodeName(path.c_str()), QSettings::IniFormat);
}

void ReadKeptOptions(QSettings& settings, TfrmConfig& config) {
  if (settings.status() != QSettings::NoError) return;
  for (const auto& [key, box] : kKeptBoxes) {
    const QString value = settings.value(QLatin1StringView(key)).toString();
    if (value == QLatin1StringView("true")) (config.*box)->SetChecked(true);
    if (value == QLatin1StringView("false")) (config.*box)->SetChecked(false);
  }
}

void WriteKeptOptions(QSettings& settings, const TfrmConfig& config) {
  // Written afresh: whatever else a file held is not carried on, but the sound browser's
  // layout, which the browser itself checks when it reads it.
  QList<std::pair<QString, QVariant>> layout;
  if (settings.status() == QSettings::NoError) {
    settings.beginGroup(TfrmChooseSounds::kSettingsGroup);
    for (const QString& key : settings.childKeys()) layout.append({key, settings.value(key)});
    settings.endGroup();
  }
  settings.clear();
  for (const auto& [key, value] : layout) {
    settings.setValue(QString(TfrmChooseSounds::kSettingsGroup) + u'/' + key, value);
  }
  for (const auto& [key, box] : kKeptBoxes) {
    settings.setValue(QLatin1StringView(key), (config.*box)->Checked());
  }
  settings.sync();
}

}  // namespace quarrix
