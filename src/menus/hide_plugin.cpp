// Hides the plugins bar's buttons of chosen plugins and narrows
// the bar's band by their width; ShowPlugins gives both back exactly.
#include <algorithm>
#include <cctype>
#include <string>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/text_pattern.h"
#include "core/wrapper.h"
#include "menus/host_menu_state.h"
#include "menus/host_menus.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

HidePluginState& Module() noexcept { return HostMenusData().HidePlugin; }

bool SourceOn(Setting flag) { return TrySettingNumber(flag).value_or(0) == 1; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The host's auto-started plugins are names, not patterns: a name with "(" or
// "+" must neither break the pattern nor match other plugins.
std::string EscapedNames(const std::string& barList) {
    std::string out;
    for (char c : barList) {
        if (c != '|' && std::string_view("\\^$.*+?()[]{}").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

// The index of the plugins bar's band, or -1.
int PluginBand() {
    const HWND rebar = State().RebarWnd;
    const auto count = static_cast<int>(host::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_ID;
        if (host::SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band)) &&
            band.wID == contract::kPluginButtonsBandId)
            return i;
    }
    return -1;
}

std::optional<UINT> BandIdealWidth(int band) {
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_IDEALSIZE;
    if (!host::SendMessageA(State().RebarWnd, RB_GETBANDINFOA, static_cast<WPARAM>(band),
                            reinterpret_cast<LPARAM>(&info)))
        return std::nullopt;
    return info.cxIdeal;
}

void SetBandIdealWidth(int band, UINT width) {
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_IDEALSIZE;
    info.cxIdeal = width;
    host::SendMessageA(State().RebarWnd, RB_SETBANDINFOA, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&info));
}

UINT ButtonWidth(UINT command) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    if (host::SendMessageA(State().PluginToolbarWnd, TB_GETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info)) < 0)
        return 0;
    return info.cx;
}

// Hides the matching button plugins; the width of the buttons hidden.
UINT HideMatchingButtons(const TextPattern& matcher) {
    SharedState& s = State();
    UINT total = 0;
    MatchBudget budget;  // one for the whole plugin list
    for (std::size_t i = 0; i < s.HostPluginList.size(); ++i) {
        const std::string& description = s.HostPluginList[i];
        if (description.empty()) continue;
        RunStep([&] {
            if (Lower(ReadIniFile("Type", description, kGeneral)).find("button") == std::string::npos) return;
            const std::string name = ReadIniFile("Name", description, kGeneral);
            if (name.empty() || !matcher.Matches(name, budget)) return;
            const UINT command = contract::kCmdPluginBase + static_cast<UINT>(i);
            const UINT width = ButtonWidth(command);  // measured while it still takes room
            if (!host::SendMessageA(s.PluginToolbarWnd, TB_HIDEBUTTON, command, MAKELPARAM(1, 0))) return;
            total += width;
            Module().HiddenButtons.push_back(command);
        });
    }
    return total;
}

}  // namespace

std::string HidePattern() {
    std::string p;
    auto add = [&p](const std::string& names) {
        p.push_back('|');
        p.append(names);
    };
    if (SourceOn(Setting::HideContextPlugin)) {
        p = SettingText(Setting::PluginInclude);
        add(SettingText(Setting::TabPluginInclude));
    }
    if (SourceOn(Setting::HideAutoPlugin)) add(EscapedNames(State().AfterPageDonePlugins));
    if (SourceOn(Setting::HideOtherPlugin)) add(SettingText(Setting::HidePluginInclude));
    // Empty alternatives would match every name.
    std::string joined;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (!(p[i] == '|' && (joined.empty() || joined.back() == '|'))) joined += p[i];
    if (!joined.empty() && joined.back() == '|') joined.pop_back();
    return joined;
}

void HidePlugins() {
    // Hiding twice would save the narrowed width as the one to give back.
    ShowPlugins();
    const std::string pattern = HidePattern();
    if (!pattern.empty()) {
        // An invalid pattern fails here, before anything is hidden, and leaves the flag off.
        const TextPattern matcher(pattern);
        if (!matcher.Valid()) throw StepError("not a valid pattern");
        const UINT hiddenWidth = HideMatchingButtons(matcher);
        RunStep([&] {
            const int band = PluginBand();
            if (band < 0 || Module().HiddenButtons.empty()) return;
            const std::optional<UINT> width = BandIdealWidth(band);
            if (!width) return;
            Module().SavedBandWidth = *width;
            SetBandIdealWidth(band, *width > hiddenWidth ? *width - hiddenWidth : 0);
        });
    }
    State().HidePluginOn = true;
}

void ShowPlugins() noexcept {
    SharedState& s = State();
    HidePluginState& m = Module();
    for (UINT command : m.HiddenButtons)
        RunStep([&] { host::SendMessageA(s.PluginToolbarWnd, TB_HIDEBUTTON, command, MAKELPARAM(0, 0)); });
    m.HiddenButtons.clear();
    if (m.SavedBandWidth) {
        RunStep([&] {
            const int band = PluginBand();
            if (band >= 0) SetBandIdealWidth(band, *m.SavedBandWidth);
        });
        m.SavedBandWidth.reset();
    }
    s.HidePluginOn = false;
}

HostMenuState& HostMenusData() noexcept {
    static HostMenuState data;
    return data;
}

// Starts when the plug-in button bar is found.
constinit const Feature kHidePluginFeature{.name = "hidden plug-in buttons",
                                           .setting = Setting::HidePlugin,
                                           .startAt = StartPoint::PluginToolbar,
                                           .start = &Run<&HidePlugins>,
                                           .stop = &ShowPlugins,
                                           .running = &SharedState::HidePluginOn,
                                           .reset = [] { HostMenusData() = {}; }};

}  // namespace tillwick
