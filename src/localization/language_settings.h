#pragma once

#include <QString>

namespace localization {

// The interface language kept across runs: key "Language" of section "Common" in the settings file
// rodplan.db.

inline constexpr const char* kSettingsFileName = "rodplan.db";

// Where the settings file is kept. An installed program's folder is usually not writable, so the file in
// the program's folder serves only when it is there and writable, or when it isn't there yet, the folder is
// writable and the user's configuration folder holds no such file; otherwise the one in the user's
// configuration folder.
QString settingsFilePath(const QString& programFolder, const QString& configFolder);

// The settings file of this program: settingsFilePath() of the executable's folder and the desktop's
// configuration folder of the application, unless a path was set (empty: back to that).
void setSettingsFile(const QString& path);
QString settingsFile();

// The saved language code, trimmed. "en_us" when the file is missing, unreadable or garbled, has no
// section "Common", or the key is empty or not a language code.
QString readSavedLanguage(const QString& path);

// Writes the language into section "Common", adding the section or the file when missing; every other line
// stays as it was. The file is replaced at once, never left half written. False when it could not be
// written.
bool saveLanguage(const QString& path, const QString& code);

} // namespace localization
