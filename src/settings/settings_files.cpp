#include "settings/settings_files.h"

#include "settings/ini_store.h"

namespace tillwick {
namespace {
std::string g_pluginFolder;
}

const std::string& PluginFolder() { return g_pluginFolder; }
void SetPluginFolder(std::string folder) { g_pluginFolder = std::move(folder); }

std::string PluginFilePath(std::string_view name) { return g_pluginFolder + "\\" + std::string(name); }
std::string SettingsFilePath() { return PluginFilePath(kSettingsFile); }
std::string ScratchFilePath() { return PluginFilePath(kScratchFile); }

std::string ReadSetting(std::string_view key, std::string_view defaultValue, std::string_view section) {
    std::string text = ini::ReadString(SettingsFilePath(), section, key, defaultValue);
    return text.empty() ? std::string(defaultValue) : text;
}

void WriteSetting(std::string_view key, std::optional<std::string_view> value, std::string_view section) {
    ini::WriteString(SettingsFilePath(), section, key, value);
}

std::string ReadTempValue(std::string_view key, std::string_view defaultValue, std::string_view section) {
    return ini::ReadString(ScratchFilePath(), section, key, defaultValue);
}

void WriteTempValue(std::string_view key, std::optional<std::string_view> value, std::string_view section) {
    ini::WriteString(ScratchFilePath(), section, key, value);
}

void ResetSettingsFiles() {
    g_pluginFolder.clear();
    ini::ForgetCachedFiles();
}

}  // namespace tillwick
