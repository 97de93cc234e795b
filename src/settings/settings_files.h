// The plugin's own files in its folder: settings.ini, which the options dialog
// edits, and the scratch file the features share. The folder is learned at
// start-up (the DLL's own folder) and kept here, with the files it names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tillwick {

inline constexpr std::string_view kGeneral = "General";
inline constexpr std::string_view kLanguage = "Language";
inline constexpr std::string_view kSettingsFile = "settings.ini";
inline constexpr std::string_view kScratchFile = "temp";

// The folder holding the DLL, without a trailing backslash.
const std::string& PluginFolder();
void SetPluginFolder(std::string folder);

std::string PluginFilePath(std::string_view name);  // PluginFolder + "\" + name
std::string SettingsFilePath();
std::string ScratchFilePath();

// The settings file: the default when the key is missing or empty.
std::string ReadSetting(std::string_view key, std::string_view defaultValue,
                        std::string_view section = kGeneral);
// nullopt deletes the key; the empty text writes "Key=".
void WriteSetting(std::string_view key, std::optional<std::string_view> value,
                  std::string_view section = kGeneral);

// The scratch file: the default only when the key is missing.
std::string ReadTempValue(std::string_view key, std::string_view defaultValue, std::string_view section);
void WriteTempValue(std::string_view key, std::optional<std::string_view> value, std::string_view section);

// Forgets the folder and the cached file texts (a test starting afresh).
void ResetSettingsFiles();

}  // namespace tillwick
