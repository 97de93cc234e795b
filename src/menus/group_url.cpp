// While the user moves through a group's submenu of the
// host's Groups menu, the highlighted page's address goes into the status
// bar; opening a whole group with more pages than OpenGroupCount asks first.
//
// Group files are the host's, and may have been edited or planted by anyone:
// only a plain name directly inside the Groups folder is ever read, and only
// the first part of a very large file.
#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "menus/host_menu_state.h"
#include "menus/host_menus.h"
#include "menus/menu_items.h"
#include "menus/menu_regroup.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

namespace c = contract;

constexpr UINT kLastLookedAtCommand = 30000;
constexpr int kGroupsMenuFixedItems = 4;
constexpr std::size_t kMaxGroupFileBytes = 1 << 20;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kPromptDefault = "Do you want to open all %N pages in:";

GroupUrlState& Module() noexcept { return HostMenusData().GroupUrl; }

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return out;
}

std::size_t FindNoCase(std::string_view text, std::string_view what) { return Lower(text).find(Lower(what)); }

bool IsDeviceName(std::string_view name) {
    const std::string base = Lower(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    if (std::find(kPlain.begin(), kPlain.end(), base) != kPlain.end()) return true;
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '0' &&
           base[3] <= '9';
}

void CALLBACK WriteStatusText(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().GroupUrlTimer, id);
    RunStep("WriteStatusText", [] {
        const SharedState& s = State();
        host::SendMessageA(s.StatusBarWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.StatusText.c_str()));
    });
}

void OnPopup(HMENU menu) {
    SharedState& s = State();
    GroupUrlState& m = Module();
    if (m.GroupMenuOpen) {
        s.InGroupSubmenu = true;
        m.GroupSubmenu = menu;
        return;
    }
    m.GroupsMenu = menu;
    if (host::GetMenuItemID(menu, 0) == c::kCmdGroupsMenuFirst) {
        m.GroupMenuOpen = true;
        m.GroupItemLimit = host::GetMenuItemCount(menu) - kGroupsMenuFixedItems;
    }
}

void OnSelect(WPARAM wParam) {
    const SharedState& s = State();
    GroupUrlState& m = Module();
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    if (item >= kLastLookedAtCommand || flags == 0xFFFF) return;
    if (!s.InGroupSubmenu) {
        // Windows names an item that opens a submenu by its position, any other by its command.
        const bool byPosition = (flags & MF_POPUP) != 0;
        m.GroupName = WithoutNumbering(menus::ItemText(m.GroupsMenu, item, byPosition));
        LoadGroup();
    } else if (s.ShowGroupUrlOn) {
        m.PageItemText = menus::ItemText(m.GroupSubmenu, item, false);
        ShowPageUrl();
    }
}

void OnUninit() {
    SharedState& s = State();
    if (s.InGroupSubmenu) {
        s.InGroupSubmenu = false;
    } else {
        Module().GroupMenuOpen = false;
        s.StatusInfoRefresh = true;
    }
}

// False when the user declined to open the group.
bool ConfirmOpening() {
    GroupUrlState& m = Module();
    const auto pages = static_cast<std::int32_t>(m.GroupLines.size());
    // A hand-edited count that is not a number asks every time rather than never.
    if (pages <= TrySettingNumber(Setting::OpenGroupCount).value_or(0)) return true;
    if (m.PromptText.empty()) m.PromptText = LanguageText("100", kPromptDefault);
    const std::string text = GroupPrompt(m.PromptText, pages, m.GroupName);
    return host::MessageBoxA(State().MainFrameWnd, text.c_str(), "Tillwick", MB_OKCANCEL) != IDCANCEL;
}

bool IsGroupCommand(WPARAM wParam) {
    return wParam > c::kGroupCommandBase &&
           static_cast<std::int64_t>(wParam) < Module().GroupItemLimit + std::int64_t{c::kGroupCommandBase} + 2;
}

}  // namespace

std::string WithoutNumbering(std::string text) {
    std::size_t i = text.starts_with('&') ? 1 : 0;
    const std::size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i == digits || text.compare(i, 2, ". ") != 0) return text;
    return text.substr(i + 2);
}

std::string GroupPrompt(std::string_view promptText, std::int32_t pages, std::string_view groupName) {
    return ReplaceAll(promptText, "%N", std::to_string(pages)) + " " + std::string(groupName);
}

LRESULT GroupUrlMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    const SharedState& s = State();
    if (hwnd != s.MainFrameWnd) return msg;
    switch (msg) {
        case WM_INITMENUPOPUP:
            OnPopup(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_MENUSELECT:
            if (Module().GroupMenuOpen) OnSelect(wParam);
            break;
        case WM_UNINITMENUPOPUP:
            if (Module().GroupMenuOpen) OnUninit();
            break;
        case WM_COMMAND:
            if (s.OpenGroupConfirmOn && IsGroupCommand(wParam) && !ConfirmOpening()) return 0;
            break;
        default:
            break;
    }
    return msg;
}

bool IsPlainGroupName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || IsDeviceName(name)) return false;
    return std::none_of(name.begin(), name.end(), [](char ch) {
        return static_cast<unsigned char>(ch) < 0x20 || std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos;
    });
}

std::vector<std::string> GroupPageLines(std::string_view text) {
    if (text.size() > kMaxGroupFileBytes) {
        text = text.substr(0, kMaxGroupFileBytes);
        const std::size_t lastEnd = text.rfind(kLineEnd);
        text = text.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd);
    }
    if (std::size_t at = FindNoCase(text, c::kGroupPropertiesSection); at != std::string::npos)
        text = text.substr(0, at);
    if (std::size_t at = FindNoCase(text, c::kGroupPagesSection); at != std::string::npos) {
        text = text.substr(at + c::kGroupPagesSection.size());
        if (text.starts_with(kLineEnd))
            text.remove_prefix(kLineEnd.size());
        else if (text.starts_with("\n"))
            text.remove_prefix(1);
    }
    while (text.ends_with(kLineEnd)) text.remove_suffix(kLineEnd.size());
    while (text.starts_with(kLineEnd)) text.remove_prefix(kLineEnd.size());
    std::vector<std::string> lines;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(kLineEnd, from);
        lines.emplace_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return lines;
        from = at + kLineEnd.size();
    }
}

void LoadGroup() {
    GroupUrlState& m = Module();
    m.GroupLines = {std::string()};
    if (!IsPlainGroupName(m.GroupName)) return;
    const std::string path = State().HostFolder + std::string(c::kHostGroupsFolder) + "\\" + m.GroupName +
                             std::string(c::kGroupFileExtension);
    if (!host::fs::FileExists(path)) return;
    // One byte past the cap, so that a file cut there loses its last, partial line.
    if (std::optional<std::string> text = host::fs::ReadFile(path, kMaxGroupFileBytes + 1))
        m.GroupLines = GroupPageLines(*text);
}

void ShowPageUrl() {
    SharedState& s = State();
    GroupUrlState& m = Module();
    const std::string prefix = m.PageItemText + "=";
    s.StatusText = "  ";
    for (const std::string& line : m.GroupLines) {
        if (!line.starts_with(prefix)) continue;
        // Only the title goes: an address may hold "title=" itself.
        s.StatusText = line.substr(prefix.size());
        break;
    }
    features::RestartTimer(m.GroupUrlTimer, 0, &WriteStatusText);
}

void StopShowGroupUrl() noexcept {
    SharedState& s = State();
    GroupUrlState& m = Module();
    s.ShowGroupUrlOn = false;
    s.OpenGroupConfirmOn = false;
    features::EndTimer(m.GroupUrlTimer);
    m.GroupMenuOpen = false;
    s.InGroupSubmenu = false;
}

bool GroupUrlLineShowing() { return State().InGroupSubmenu; }

namespace {

// Both switches share the rows and the timer: the whole stop waits for the second.
void StopGroupAddresses() noexcept {
    State().ShowGroupUrlOn = false;
    if (!State().OpenGroupConfirmOn) StopShowGroupUrl();
}
void StopGroupConfirm() noexcept {
    State().OpenGroupConfirmOn = false;
    if (!State().ShowGroupUrlOn) StopShowGroupUrl();
}

constexpr MessageSet kActsOn{WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_COMMAND};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 100, kAnyKey, {&SharedState::ShowGroupUrlOn, &SharedState::OpenGroupConfirmOn},
        &ByValue<&GroupUrlMessage>, ResultUse::ReplacesMsg, kActsOn),
};

}  // namespace

constinit const Feature kGroupUrlFeature{.name = "group page addresses",
                                         .setting = Setting::ShowGroupUrl,
                                         .start = [](StartRun&, std::string_view) { State().ShowGroupUrlOn = true; },
                                         .stop = &StopGroupAddresses,
                                         .running = &SharedState::ShowGroupUrlOn,
                                         .rows = kRows};
constinit const Feature kOpenGroupConfirmFeature{
    .name = "group open confirmation",
    .setting = Setting::OpenGroupConfirm,
    .start = [](StartRun&, std::string_view) { State().OpenGroupConfirmOn = true; },
    .stop = &StopGroupConfirm,
    .running = &SharedState::OpenGroupConfirmOn};

}  // namespace tillwick
