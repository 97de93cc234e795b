#include "statushtml/panel_editor.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "base/convert.h"
#include "base/errors.h"
#include "core/html_escape.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "options/options_dialog.h"
#include "settings/settings_catalogue.h"
#include "statushtml/status_html.h"
#include "statushtml/status_html_page.h"

namespace tillwick {
namespace {

std::size_t FindNoCase(std::string_view text, std::string_view word, bool last = false) {
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; same && i < word.size(); ++i)
            same = std::tolower(static_cast<unsigned char>(text[at + i])) ==
                   std::tolower(static_cast<unsigned char>(word[i]));
        if (!same) continue;
        found = at;
        if (!last) break;
    }
    return found;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The add-ons that come with the plugin, shown while the list is empty.
struct SampleAddon {
    std::string_view name, file, width;
};
constexpr SampleAddon kSamples[] = {
    {"Mail Notifier", "MailNotifier\\MailNotifier.html", "25"},
    {"Page Scripts", "PageScripts\\PageScripts.html", "25"},
    {"Page Rank", "PageRank\\PageRank.html", "85"},
};
constexpr std::string_view kSampleAuthor = "Tillwick";
constexpr std::string_view kSampleVersion = "1.1";

std::string OrDefault(std::string value, std::string_view fallback) {
    return value.empty() ? std::string(fallback) : value;
}

}  // namespace

std::string ReadAddonMeta(std::string_view key, std::string_view html) {
    const std::size_t at = FindNoCase(html, key);
    if (at == std::string_view::npos || key.empty()) return "";
    const std::size_t close = html.find('>', at + 1);
    if (close == std::string_view::npos) return "";
    const std::string_view tag = html.substr(at + 1, close - at - 1);
    const std::size_t eq = tag.find('=');
    if (eq == std::string_view::npos) return "";
    std::string_view value = TrimBlanks(tag.substr(eq + 1));
    if (!value.empty() && (value.front() == '\'' || value.front() == '"')) {
        const std::size_t end = value.find(value.front(), 1);
        value = value.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1);
    }
    return DecodeBasicEntities(value);
}

std::string NameFromPath(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (const std::size_t htm = FindNoCase(name, ".htm", true); htm != std::string_view::npos)
        name = name.substr(0, htm);
    return std::string(name);
}

void PanelEditorForm::Load() {
    rows = {};
    selected = -1;
    const std::int32_t count = PanelRecordCount();
    int k = 0;
    for (std::int32_t i = 0; i < count && k < kRows; ++i) {
        RunStep([&] {
            const std::string path = StoredPanelSetting(PanelField::Path, i);
            if (path.empty()) return;
            // A row whose page is missing shows no meta data rather than another row's.
            const std::string html =
                host::fs::FileExists(path) ? host::fs::ReadFile(path, kMaxPanelPageBytes).value_or("") : "";
            PanelRow& row = rows[static_cast<std::size_t>(k)];
            row.use = TryToInt32(StoredPanelSetting(PanelField::Use, i)) == 1;
            row.name = StoredPanelSetting(PanelField::Name, i);
            if (row.name.empty()) row.name = ReadAddonMeta("Addon-Name", html);
            if (row.name.empty()) row.name = NameFromPath(path);
            row.author = ReadAddonMeta("Addon-Author", html);
            row.version = ReadAddonMeta("Addon-Version", html);
            row.width = StoredPanelSetting(PanelField::Width, i);
            if (row.width.empty()) row.width = OrDefault(ReadAddonMeta("addon-width", html), "80");
            row.offset = OrDefault(StoredPanelSetting(PanelField::Offset, i), "0");
            row.path = path;
            ++k;
        });
    }
    if (count == 0) {
        for (std::size_t i = 0; i < std::size(kSamples); ++i) {
            PanelRow& row = rows[i];
            row.name = kSamples[i].name;
            row.author = kSampleAuthor;
            row.version = kSampleVersion;
            row.width = kSamples[i].width;
            row.offset = '0';  // a character: GCC 12 misreads a one-letter literal here at -O3
            row.path = PluginFolder() + "\\Addons\\" + std::string(kSamples[i].file);
        }
    }
    height = SettingText(Setting::StatusHtmlHeight);
    sepWidth = SettingText(Setting::StatusHtmlSepWidth);
    shift = SettingText(Setting::StatusHtmlShift);
}

void PanelEditorForm::Activate() { applyEnabled = false; }

void PanelEditorForm::Changed() { applyEnabled = true; }

void PanelEditorForm::RowTicked(int) {
    applyEnabled = true;
    upEnabled = dnEnabled = false;
}

void PanelEditorForm::NameFocused(int row) {
    if (row < 0 || row >= kRows) return;
    if (rows[static_cast<std::size_t>(row)].name.empty()) {
        upEnabled = dnEnabled = false;
        return;
    }
    upEnabled = row >= 1;
    dnEnabled = row < kRows - 1;
    selected = row;
}

void PanelEditorForm::OtherBoxFocused() { upEnabled = dnEnabled = false; }

bool PanelEditorForm::Move(int direction) {
    const int s = selected;
    if (direction < 0 ? s < 1 : (s < 0 || s >= kRows - 1)) return false;
    std::swap(rows[static_cast<std::size_t>(s)], rows[static_cast<std::size_t>(s + direction)]);
    applyEnabled = true;
    NameFocused(s + direction);
    selected = s + direction;
    return true;
}

void PanelEditorForm::Correct(std::string& box, const std::string& corrected) {
    if (box == corrected) return;
    box = corrected;
    Changed();  // as any change of a box's text
}

void PanelEditorForm::ValidateHeight() {
    const std::optional<std::int32_t> n = TryToInt32(height);
    if (!n) return;
    const std::int32_t barHeight = State().StatusBarHeight;
    if (*n >= 1 && *n <= 19) Correct(height, "20");
    else if (barHeight > 0 && *n > barHeight) Correct(height, std::to_string(barHeight));
}

void PanelEditorForm::ValidateSepWidth() {
    const std::optional<std::int32_t> n = TryToInt32(sepWidth);
    if (!n) return;
    if (*n >= 1 && *n <= 5) Correct(sepWidth, std::string(1, '6'));
    else if (*n >= 11) Correct(sepWidth, "10");
}

std::string PanelEditorForm::AddonsFolder() { return PluginFolder() + "\\Addons\\"; }

void PanelEditorForm::FileChosen(int row, const std::string& file) {
    upEnabled = dnEnabled = false;
    if (row < 0 || row >= kRows || file.empty()) return;
    PanelRow& r = rows[static_cast<std::size_t>(row)];
    r.path = file;
    applyEnabled = true;  // the path box changed, whatever the page holds
    const std::optional<std::string> html = host::fs::ReadFile(file, kMaxPanelPageBytes);
    if (!html) return;  // an unreadable page changes nothing more
    r.name = ReadAddonMeta("Addon-Name", *html);
    r.author = ReadAddonMeta("Addon-Author", *html);
    r.version = ReadAddonMeta("Addon-Version", *html);
    r.width = ReadAddonMeta("Addon-Width", *html);
    r.offset = '0';
}

void PanelEditorForm::Save() {
    // Enter on a box presses OK without leaving the box: its correction is still due.
    ValidateHeight();
    ValidateSepWidth();
    for (int i = 0; i < kRows; ++i)
        for (PanelField f : {PanelField::Use, PanelField::Name, PanelField::Width, PanelField::Offset, PanelField::Path})
            WritePanelSetting(f, i, "");
    int k = 0;
    bool anyShown = false;
    for (const PanelRow& row : rows) {
        if (row.path.empty()) continue;
        WritePanelSetting(PanelField::Use, k, row.use ? "1" : "0");
        anyShown = anyShown || row.use;
        WritePanelSetting(PanelField::Name, k, row.name.empty() ? NameFromPath(row.path) : row.name);
        WritePanelSetting(PanelField::Width, k, OrDefault(row.width, "80"));
        WritePanelSetting(PanelField::Offset, k, OrDefault(row.offset, "0"));
        WritePanelSetting(PanelField::Path, k, row.path);
        ++k;
    }
    WriteSettingValue(Setting::StatusHtml, SettingText(Setting::StatusHtml));
    WriteSettingValue(Setting::StatusHtmlHeight, height);
    WriteSettingValue(Setting::StatusHtmlSepWidth, sepWidth);
    WriteSettingValue(Setting::StatusHtmlShift, shift);
    WriteSettingValue(Setting::StatusHtmlCount, std::to_string(k));
    RunStep([&] { OptionsDialogForm().PanelsSaved(anyShown); });
}

void PanelEditorForm::RestartStrip() {
    // Without the host's security id the strip could not close its borrowed tab.
    if (State().SecurityId.empty()) return;
    if (State().StatusHtmlOn) StopStatusHtml();
    RunStep(StartStatusHtml);
}

void PanelEditorForm::Apply() {
    Save();
    RestartStrip();
    applyEnabled = upEnabled = dnEnabled = false;
}

void PanelEditorForm::Ok() {
    Save();
    if (applyEnabled) RestartStrip();
}

}  // namespace tillwick
