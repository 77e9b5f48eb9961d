#pragma once
// The options dialog's check states kept between runs in the user's settings (QSettings):
// every box but "Add to current File", which depends on the list of the moment.
#include <memory>
#include <string>

class QSettings;

namespace quarrix {

class TfrmConfig;

// The user's settings in the platform's usual place: the registry on Windows, an ini file in
// the configuration folder elsewhere (~/.config/Quarrix/Quarrix.conf). Null when that file is
// a folder or a special file, which would stop or break start-up.
std::unique_ptr<QSettings> OpenUserSettings();

// The same over the ini file at path (tests); null on the same terms.
std::unique_ptr<QSettings> OpenSettingsFile(const std::string& path);

// Sets the kept boxes from the settings. A settings file that could not be read or parsed is
// ignored as a whole, and a value other than true or false leaves its box as it is.
void ReadKeptOptions(QSettings& settings, TfrmConfig& config);

// Writes the kept boxes in place of everything the settings held but the sound browser's
// layout, and flushes them; a failed write is ignored (the program is ending).
void WriteKeptOptions(QSettings& settings, const TfrmConfig& config);

}  // namespace quarrix
