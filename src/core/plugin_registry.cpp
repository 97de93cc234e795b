// ScanHostPlugins and BuildDiagnostics.
#include "core/plugin_registry.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "host/folder_stamps.h"
#include "settings/ini_store.h"

namespace tillwick {
namespace {

constexpr std::string_view kEntriesSection = "[myieplugins]";
constexpr std::string_view kNextSection = "[ieplugins]";
constexpr std::string_view kCrLf = "\r\n";

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

using Description = PluginDescription;

// One read of the file for all six values: with hundreds of plugins, a file
// query per value is what start-up costs under Wine.
Description DescriptionOf(std::string path, std::string_view text) {
    auto value = [text](std::string_view section, std::string_view key) {
        const std::optional<std::string> raw = ini::FindRawValue(text, section, key);
        return ini::ProfileValue(raw ? std::optional<std::string_view>(*raw) : std::nullopt, "");
    };
    return Description{std::move(path),
                       value("General", "Name"),
                       value("General", "Version"),
                       value("General", "Type"),
                       value("General", "StartAfterPageDone"),
                       value("MyIE2Buttons", "Count")};
}

// Every plugin folder with a description: the one in the host's language when
// there is one, else the plain one. There is no limit on the number of folders.
// The plugin folders by name with their write times, in one listing: a
// stamp query per file costs a round trip each under Wine, too much with
// hundreds of plugins.
std::vector<PluginFolderCache::Checked> FolderStamps(const std::string& root) {
    std::vector<PluginFolderCache::Checked> folders;
    for (host::fs::FolderStamp& f : host::fs::SubfolderStamps(root))
        folders.push_back({std::move(f.name), f.stamp});
    return folders;
}

void ReadDescriptions(PluginFolderCache& cache, std::vector<PluginFolderCache::Checked> folders) {
    cache.valid = false;
    cache.table.clear();
    for (const PluginFolderCache::Checked& folder : folders) {
        const std::string base = cache.root + "\\" + folder.path;
        std::string path = base + "\\plugin" + cache.languageId + ".ini";
        std::optional<std::string> text = host::fs::ReadFile(path);
        if (!text && !cache.languageId.empty()) text = host::fs::ReadFile(path = base + "\\plugin.ini");
        if (text) cache.table.push_back(DescriptionOf(std::move(path), *text));
    }
    cache.checked = std::move(folders);
    cache.valid = true;
}

bool SameFolders(const std::vector<PluginFolderCache::Checked>& a, const std::vector<PluginFolderCache::Checked>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.path == y.path && x.stamp == y.stamp;
    });
}

const std::vector<Description>& Descriptions() {
    const SharedState& s = State();
    PluginFolderCache& cache = State().PluginFolders;
    std::string root = s.HostFolder + std::string(contract::kHostPluginFolder);
    // A plugin folder that appears, goes or is renamed changes the listing; a
    // description file created, deleted or replaced in its folder changes the
    // folder's write time.
    std::vector<PluginFolderCache::Checked> folders = FolderStamps(root);
    if (!cache.valid || cache.root != root || cache.languageId != s.LanguageId || !SameFolders(cache.checked, folders)) {
        cache.root = std::move(root);
        cache.languageId = s.LanguageId;
        ReadDescriptions(cache, std::move(folders));
    }
    return cache.table;
}

const Description* FindDescription(const std::vector<Description>& table, std::string_view nameAndVersion) {
    for (const Description& d : table)
        if (d.name.size() + d.version.size() == nameAndVersion.size() && nameAndVersion.starts_with(d.name) &&
            nameAndVersion.substr(d.name.size()) == d.version)
            return &d;
    return nullptr;
}

bool IsButton(const Description& d) { return Lower(d.type).find("button") != std::string::npos; }

}  // namespace

std::vector<std::string> PluginEntryLines(std::string_view text) {
    std::string lower = Lower(text);
    std::size_t at = lower.find(kEntriesSection);
    if (at == std::string::npos) return {};
    std::size_t begin = at + kEntriesSection.size();
    // Past the section line's own line break.
    if (begin < text.size() && text[begin] == '\r') ++begin;
    if (begin < text.size() && text[begin] == '\n') ++begin;
    std::size_t end = lower.find(kNextSection, begin);
    std::string_view body = text.substr(begin, end == std::string::npos ? std::string_view::npos : end - begin);

    std::vector<std::string> lines;
    while (!body.empty()) {
        std::size_t cut = body.find('\n');
        std::string_view line = body.substr(0, cut);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        if (cut == std::string_view::npos) break;
        body.remove_prefix(cut + 1);
    }
    return lines;
}

void ScanHostPlugins() {
    SharedState& s = State();
    s.HostPluginList.clear();
    s.AfterPageDonePlugins.clear();
    s.OwnCommandId = 0;
    s.CompanionCommandId = 0;

    const std::vector<Description>& table = Descriptions();
    const std::string* switches = ini::CachedFileText(s.HostFolder + std::string(contract::kHostPluginSwitchFile));
    if (switches == nullptr) return;  // no switch file: no entries, no command ids

    std::int32_t k = 0;
    for (const std::string& line : PluginEntryLines(*switches)) {
        std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) continue;  // not an entry; takes no number
        std::string_view nameAndVersion = std::string_view(line).substr(0, line.size() - std::min<std::size_t>(2, line.size()));
        const Description* d = FindDescription(table, nameAndVersion);
        if (line.ends_with("=1")) {
            s.HostPluginList.push_back(d != nullptr ? d->path : std::string());
            if (d != nullptr) {
                if (d->startAfterPageDone == "1" && !d->buttonCount.empty()) s.AfterPageDonePlugins += d->name + "|";
                std::int32_t id = static_cast<std::int32_t>(contract::kCmdPluginBase) + k;
                if (d->name == contract::kOwnPluginName && IsButton(*d))
                    s.OwnCommandId = id;
                else if (d->name == contract::kCompanionPluginName && IsButton(*d))
                    s.CompanionCommandId = id;
            }
        } else {
            s.HostPluginList.emplace_back();
        }
        ++k;
    }
}

void BuildDiagnostics() {
    SharedState& s = State();
    const std::string nl(kCrLf);
    std::string text;
    auto toolbarProblem = [&](std::string_view key, std::string_view fallback) {
        text += LanguageText(key, fallback) + nl + LanguageText("118", "") + LanguageText("119", "") + nl + nl;
    };
    if (s.CompanionCommandId == 0)
        text += LanguageText("111", "Cannot find Tillwick Helper plugin:") + nl + LanguageText("112", "") + nl + nl;
    if (s.SecurityId.empty())
        text += LanguageText("113", "Cannot obtain Maxthon Security ID:") + nl + LanguageText("114", "") + nl + nl;
    if (s.AddressEditWnd == nullptr) toolbarProblem("115", "Cannot found Address Bar:");
    if (s.SearchEditWnd == nullptr) toolbarProblem("116", "Cannot found Search Bar:");
    if (s.ButtonsToolbarWnd == nullptr) toolbarProblem("117", "Cannot found Standard Tool Bar:");
    s.DiagnosticsText = std::move(text);
    AppendFeatureDiagnostics();  // each feature appends its own findings
    if (s.DiagnosticsText.empty()) s.DiagnosticsText = LanguageText("124", "No known problem is noted.");
}

}  // namespace tillwick
