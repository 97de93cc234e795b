// The host folder: configuration, set-up centre and language files, the
// plugin list with one description per plugin, and the group files. Built-in
// contents first, then the test's settings written over them.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "settings/ini_store.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return out;
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (auto line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string DefaultConfigIni(const std::string& languageFile) {
    return Lines({"[Settings]", "language_file=" + languageFile, "EnablePop=0",
                  "EnableAutoFilter=0", "UseUrlFilter=0", "RemoveModeDialog=0", "RemoveFloatAD=0",
                  "EnableActiveXBlocker=0", "EnableProxy=0", "UseIEProxy=0", "DefaultProxy=",
                  "[MouseAction]", "Double_Click_on_Tab_Bar=32772"});
}

std::string DefaultSetupCenterIni() {
    return Lines({"[Proxy]", "p1=127.0.0.1:8080", "pn1=Local Proxy", "p2=10.0.0.1:3128",
                  "pn2=Office Proxy"});
}

// The host's own menu texts, with the accelerator marks the host shows.
std::string DefaultLanguageIni() {
    return Lines({"[General]", "language_id=1033", "language_name=English",
                  "[MENU_MAIN]", "33033=Close &All", "33059=&No Proxy", "33068=Use &IE Proxy",
                  "[MENU_CLOSES]", "32874=Close All &Except Current", "33137=Close All on the &Left",
                  "33138=Close All on the &Right", "33136=Close Blank and &Error",
                  "33139=Close All From &Same Site", "33140=Close All Except From Same Si&te",
                  "[MENU_RTAB]", "32864=Close All &Unlocked",
                  "[String]", "897=Clear Search Bar History",
                  "[DIALOG_OPEN_SELECTED_URL]", "Caption=Open Selected URLs"});
}

std::string PluginIni(const PluginEntry& p) {
    std::string text = Lines({"[General]", "Name=" + p.name, "Version=" + p.version,
                              "Type=" + p.type, "ModuleType=" + p.moduleType,
                              "FileName=" + p.fileName});
    return text + p.extraIni;
}

std::string PluginListIni(const std::vector<PluginEntry>& plugins) {
    std::string text = "[MyIEPlugins]\r\n";
    for (const auto& p : plugins) text += p.name + p.version + (p.enabled ? "=1" : "=0") + "\r\n";
    text += "[IEPlugins]\r\n";
    return text;
}

std::string GroupFile(const Group& g) {
    std::string text = std::string(c::kGroupPagesSection) + "\r\n";
    for (const auto& page : g.pages) text += page.title + "=" + page.url + "\r\n";
    text += "\r\n" + std::string(c::kGroupPropertiesSection) + "\r\n";
    text += "Count=" + std::to_string(g.pages.size()) + "\r\n";
    return text;
}

bool WriteWithSettings(const Host::State& s, std::string_view relative, std::string text) {
    for (const auto& setting : s.config.settings) {
        if (Lower(setting.file) != Lower(relative)) continue;
        text = tillwick::ini::WithValue(text, setting.section, setting.key, setting.value);
    }
    return host::fs::WriteFileAtomic(s.hostFolder + std::string(relative), text);
}

}  // namespace

std::vector<PluginEntry> DefaultPlugins() {
    PluginEntry own;
    own.folder = "Tillwick";
    own.name = std::string(c::kOwnPluginName);
    own.fileName = "Tillwick.dll";
    PluginEntry companion;
    companion.folder = "TillwickHelper";
    companion.name = std::string(c::kCompanionPluginName);
    companion.moduleType = "script";
    companion.fileName = "helper.htm";
    return {own, companion};
}

std::string DefaultHostFolder() {
    char path[1024] = {};
    DWORD n = host::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string exe(path, std::min<DWORD>(n, sizeof path));
    auto slash = exe.rfind('\\');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

bool LayOutHostFolder(Host::State& s) {
    s.hostFolder = s.config.hostFolder.empty() ? DefaultHostFolder() : s.config.hostFolder;
    if (s.hostFolder.empty()) return false;
    if (s.hostFolder.back() != '\\') s.hostFolder += '\\';
    s.languageFile = s.hostFolder + "Language\\English.ini";

    bool ok = true;
    auto folder = [&](const std::string& relative) {
        const std::string path = s.hostFolder + relative;
        if (!host::fs::FolderExists(path) && !host::fs::CreateFolder(path)) ok = false;
    };
    // Parents first: the platform creates one level at a time.
    std::string partial;
    for (std::size_t pos = 0; (pos = s.hostFolder.find('\\', pos)) != std::string::npos; ++pos) {
        partial = s.hostFolder.substr(0, pos);
        if (partial.size() > 2 && !host::fs::FolderExists(partial)) host::fs::CreateFolder(partial);
    }
    folder("config");
    folder("Language");
    folder(std::string(c::kHostPluginFolder));
    folder(std::string(c::kHostGroupsFolder));
    if (!ok) return false;

    ok = WriteWithSettings(s, c::kHostConfigFile, DefaultConfigIni(s.languageFile)) && ok;
    ok = WriteWithSettings(s, c::kHostSetupCenterFile, DefaultSetupCenterIni()) && ok;
    ok = WriteWithSettings(s, "Language\\English.ini", DefaultLanguageIni()) && ok;
    // The configuration may name another language file.
    s.languageFile = ReadHostConfig(s, c::kHostSettingsSection, c::kHostLanguageFileKey,
                                    s.languageFile);
    ok = WriteWithSettings(s, c::kHostPluginSwitchFile, PluginListIni(s.config.plugins)) && ok;
    for (const auto& p : s.config.plugins) {
        if (p.folder.empty()) continue;
        const std::string relative = std::string(c::kHostPluginFolder) + "\\" + p.folder;
        folder(relative);
        ok = WriteWithSettings(s, relative + "\\" + std::string(c::kPluginDescriptionFile),
                               PluginIni(p)) && ok;
    }
    // A group whose name makes no file name is listed all the same, as a
    // hand-edited group list would have it.
    for (const auto& g : s.config.groups)
        WriteWithSettings(s, std::string(c::kHostGroupsFolder) + "\\" + g.name + std::string(c::kGroupFileExtension),
                          GroupFile(g));
    return ok;
}

std::string PluginFolderOf(const Host::State& s, std::string_view pluginName) {
    for (const auto& p : s.config.plugins) {
        if (p.name == pluginName && !p.folder.empty())
            return s.hostFolder + std::string(c::kHostPluginFolder) + "\\" + p.folder;
    }
    return {};
}

std::string HostLanguageText(const Host::State& s, std::string_view section, std::string_view key,
                             std::string_view fallback) {
    return tillwick::ini::ReadString(s.languageFile, section, key, fallback);
}

std::string ReadHostConfig(const Host::State& s, std::string_view section, std::string_view key,
                           std::string_view fallback) {
    return tillwick::ini::ReadString(s.hostFolder + std::string(c::kHostConfigFile), section, key,
                                     fallback);
}

void WriteHostConfig(const Host::State& s, std::string_view section, std::string_view key,
                     std::string_view value) {
    tillwick::ini::WriteString(s.hostFolder + std::string(c::kHostConfigFile), section, key,
                               value);
}

std::vector<int> ButtonPluginIndexes(const Host::State& s) {
    std::vector<int> out;
    for (std::size_t k = 0; k < s.config.plugins.size(); ++k) {
        const auto& p = s.config.plugins[k];
        if (p.enabled && Lower(p.type).find("button") != std::string::npos)
            out.push_back(static_cast<int>(k));
    }
    return out;
}

}  // namespace refhost
