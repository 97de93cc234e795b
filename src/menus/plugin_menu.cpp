#include "menus/plugin_menu.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/errors.h"
#include "core/html_escape.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/text_pattern.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "menus/menu_regroup.h"

namespace tillwick {
namespace {

namespace c = contract;
using features::EndTimer;
using features::RestartTimer;

constexpr std::string_view kPluginSection = "General";
constexpr std::string_view kButtonsSection = "MyIE2Buttons";
constexpr UINT kFilterOffMs = 500;
// Drop-down lines read at most: a menu taller than any screen helps nobody,
// and a hand-edited Count must not keep the host busy.
constexpr std::int32_t kMaxDropDownLines = 512;

std::string WithoutDashes(std::string_view text) {
    std::string out(text);
    std::erase(out, '-');
    return out;
}

// What the building of one popup carries from plugin to plugin.
struct Builder {
    PluginMenuState& m;
    HMENU popup;
    bool dropDowns;
    std::int32_t companion;
    std::vector<std::string> seen;  // lower-cased names listed so far
    std::size_t topScripts = 0;     // plain script entries
    std::size_t dropScripts = 0;    // drop-down script entries
    int j = 0;                      // where the next drop-down goes
    MatchBudget budget{};           // one for the whole plugin list

    bool Seen(const std::string& name) const {
        return std::find(seen.begin(), seen.end(), LowerAscii(name)) != seen.end();
    }
    void Append(HMENU menu, std::int32_t id, const std::string& text) {
        if (!host::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), text.c_str()))
            throw StepError("a plugin entry could not be added");
    }
    // A drop-down script entry, or false when the table is full.
    bool AppendDropDownScript(HMENU menu, const std::string& text, std::string path) {
        if (dropScripts >= m.DropDownScripts.size()) return false;
        Append(menu, kDropDownScriptIdBase + static_cast<std::int32_t>(dropScripts), text);
        m.DropDownScripts[dropScripts++] = std::move(path);
        return true;
    }
    void AddButtonOrScript(const std::string& path, std::size_t i);
};

bool Has(const std::vector<std::int32_t>& ids, std::int32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::int32_t ButtonId(std::size_t i) { return static_cast<std::int32_t>(c::kCmdPluginBase + i); }

// One entry of the host's plugin list.
void Builder::AddButtonOrScript(const std::string& path, std::size_t i) {
    const std::string name = ReadIniFile("Name", path, kPluginSection);
    if (name.empty() || !m.Pattern->Matches(name, budget) || Seen(name)) return;
    const std::string type = LowerAscii(ReadIniFile("Type", path, kPluginSection));
    const bool button = type.find("button") != std::string::npos;
    const std::string folder = FolderOf(path);

    if (LowerAscii(ReadIniFile("ModuleType", path, kPluginSection)).find("script") == std::string::npos) {
        // A plugin that is no button has no command to give; its name stays free.
        if (!button) return;
        Append(popup, ButtonId(i), name);
        m.TopButtons.push_back(ButtonId(i));
        seen.push_back(LowerAscii(name));
        return;
    }
    if (type.find("sidebar") != std::string::npos) return;

    const std::string countText = ReadIniFile("Count", path, kButtonsSection);
    if (!dropDowns || countText.empty() || companion == 0) {
        if (button) {
            Append(popup, ButtonId(i), name);
            m.TopButtons.push_back(ButtonId(i));
        } else if (companion > 0) {
            if (kTopScriptIdBase + static_cast<std::int32_t>(topScripts) >= kTopScriptIdLimit) return;
            Append(popup, kTopScriptIdBase + static_cast<std::int32_t>(topScripts), name);
            m.TopScripts[topScripts++] = folder + ReadIniFile("FileName", path, kPluginSection);
        }
        seen.push_back(LowerAscii(name));
        return;
    }

    // A Count that is no number: this plugin's drop-down is abandoned.
    const std::int32_t count = std::clamp(ToInt32(countText), 0, kMaxDropDownLines);
    HMENU dropDown = host::CreatePopupMenu();
    if (!dropDown) throw StepError("no popup menu");
    const bool built = RunStep([&] {
        if (button) {
            Append(dropDown, ButtonId(i), name);
            m.DropDownButtons.push_back(ButtonId(i));
        } else if (!AppendDropDownScript(dropDown, name, folder + ReadIniFile("FileName", path, kPluginSection))) {
            throw StepError("the drop-down table is full");
        }
        host::AppendMenuA(dropDown, MF_SEPARATOR, 0, nullptr);
        for (std::int32_t b = 1; b <= count; ++b) {
            const std::string line = std::to_string(b);
            const std::string text = ReadIniFile("Name" + line, path, kButtonsSection);
            if (WithoutDashes(text).empty()) {
                host::AppendMenuA(dropDown, MF_SEPARATOR, 0, nullptr);
            } else if (!AppendDropDownScript(dropDown, text,
                                             folder + ReadIniFile("FileName" + line, path, kButtonsSection))) {
                break;
            }
        }
        InsertSubmenuItem(popup, j, static_cast<UINT>(kDropDownItemIdBase + static_cast<std::int32_t>(i)), name,
                          dropDown);
    });
    if (!built) {
        host::DestroyMenu(dropDown);
        return;
    }
    ++j;
    seen.push_back(LowerAscii(name));
}

void SendToFrame(WPARAM command) {
    host::SendMessageA(State().MainFrameWnd, WM_COMMAND, command, 0);
}

}  // namespace

void BuildPluginMenu(PluginMenuState& m, Setting include, Setting dropDown) {
    DestroyPluginMenu(m);
    m = PluginMenuState{};
    const std::string pattern = SettingText(include);
    m.PatternSet = !pattern.empty();
    m.Pattern = std::make_shared<const TextPattern>(pattern);
    m.PluginPopup = host::CreatePopupMenu();
    if (!m.PluginPopup) throw StepError("no popup menu");
    Builder b{m, m.PluginPopup, SettingText(dropDown) != "0", State().CompanionCommandId, {}};
    const auto& plugins = State().HostPluginList;
    for (std::size_t i = 0; i < plugins.size(); ++i) {
        if (plugins[i].size() <= 1) continue;
        // One plugin's unreadable description costs that plugin its entry only.
        RunStep([&] { b.AddButtonOrScript(plugins[i], i); });
    }
}

void DestroyPluginMenu(PluginMenuState& m) noexcept {
    EndTimer(m.LaunchTimer);
    m.PendingId = 0;
    if (m.FilterRestoreTimer != 0) {
        EndTimer(m.FilterRestoreTimer);
        RunStep([] { SendToFrame(contract::kCmdPopupFilter); });
    }
    if (m.PluginPopup) host::DestroyMenu(m.PluginPopup);
    m.PluginPopup = nullptr;
}

bool PluginMenuReady(const PluginMenuState& m) noexcept {
    return m.PatternSet && m.PluginPopup && host::GetMenuItemCount(m.PluginPopup) > 0;
}

void TrackPluginMenu(PluginMenuState& m, UINT msg, WPARAM wParam, TIMERPROC launch) {
    switch (msg) {
        case WM_INITMENUPOPUP:
            if (m.PluginPopup && reinterpret_cast<HMENU>(wParam) == m.PluginPopup)
                m.PopupShown = true;
            else if (m.PopupShown)
                m.NestedShown = true;  // a drop-down opened
            return;
        case WM_MENUSELECT:
            m.HighlightedId = (m.PopupShown || m.NestedShown) ? LOWORD(wParam) : 0;
            return;
        case WM_UNINITMENUPOPUP: {
            const std::int32_t id = m.HighlightedId;
            bool picked = false;
            if (m.NestedShown) {
                picked = Has(m.DropDownButtons, id) || (id >= kDropDownScriptIdBase && id < kDropDownScriptIdLimit);
                m.NestedShown = false;
            } else if (m.PopupShown) {
                picked = Has(m.TopButtons, id) || (id >= kTopScriptIdBase && id < kTopScriptIdLimit);
                m.PopupShown = false;
            }
            if (!picked) return;
            m.PendingId = id;
            RestartTimer(m.LaunchTimer, 0, launch);
            return;
        }
        default:
            return;
    }
}

std::string PreparePluginScript(std::string text, std::string_view securityId) {
    // The first "<script" up to its ">" (attributes and all), then the first
    // closing tag; later script elements stay as they are.
    const std::string lower = LowerAscii(text);
    if (auto open = lower.find("<script"); open != std::string::npos) {
        if (auto end = lower.find('>', open); end != std::string::npos) text.erase(open, end - open + 1);
    }
    constexpr std::string_view kClose = "</script>";
    if (auto close = LowerAscii(text).find(kClose); close != std::string::npos) text.erase(close, kClose.size());
    std::string quoted(1, '\'');
    quoted.append(EscapeScriptString(securityId)).push_back('\'');
    return ReplaceAll(text, "%max_security_id", quoted);
}

void RunPluginCommand(PluginMenuState& m, UINT_PTR firing, TIMERPROC restoreFilter) noexcept {
    EndTimer(m.LaunchTimer, firing);
    const std::int32_t id = m.PendingId;
    m.PendingId = 0;
    if (id > 10000) {
        RunStep([&] { SendToFrame(static_cast<WPARAM>(id)); });
        return;
    }
    // An unreadable script or a page without a window: this launch is dropped.
    RunStep([&] {
        const bool top = id >= kTopScriptIdBase;
        const auto slot = static_cast<std::size_t>(id - (top ? kTopScriptIdBase : kDropDownScriptIdBase));
        const auto& table = top ? m.TopScripts : m.DropDownScripts;
        if (id < kDropDownScriptIdBase || slot >= table.size() || table[slot].empty())
            throw StepError("no script for that entry");
        std::optional<std::string> text = host::fs::ReadFile(table[slot]);
        if (!text) throw StepError("the plugin's script cannot be read");
        const std::string script = PreparePluginScript(std::move(*text), State().SecurityId);
        const host::Object window = State().ActiveDocument.GetObject("parentWindow");
        if (!window) throw StepError("the active page has no window");
        if (State().PopupFilterEnabled) {
            // The host's filter would stop what the script opens: off for a moment.
            SendToFrame(contract::kCmdPopupFilter);
            RestartTimer(m.FilterRestoreTimer, kFilterOffMs, restoreFilter);
        }
        // Run as the host runs its script plugins, at the page's top level,
        // but as the call's own text: no variable is left in the page to
        // carry it, and no function the page may have replaced (eval) sees it.
        if (!window.ExecScript(script, "JScript")) throw StepError("the script did not run");
    });
}

void RestorePopupFilter(PluginMenuState& m, UINT_PTR firing) noexcept {
    EndTimer(m.FilterRestoreTimer, firing);
    RunStep([] { SendToFrame(contract::kCmdPopupFilter); });
}

}  // namespace tillwick
