// Puts the engines of the host's quick-search menu in
// alphabetical order or in the user's order each time the menu opens. The
// last four items (the clear commands and their separators) stay in place.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "menus/host_menus.h"
#include "menus/menu_items.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

namespace c = contract;

constexpr int kFixedTail = 4;
constexpr std::string_view kClearSearchHistoryEnglish = "Clear Search History";

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        parts.emplace_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

// The engines are the items before the fixed tail.
int EngineCount(HMENU menu) { return std::max(0, host::GetMenuItemCount(menu) - kFixedTail); }

bool IsSearchMenu(HMENU menu) {
    const int n = host::GetMenuItemCount(menu);
    if (n < 2) return false;
    const std::string text = menus::ItemText(menu, static_cast<UINT>(n - 2), true);
    const std::string clear =
        HostLanguageText(c::kClearSearchHistoryKey, c::kClearSearchHistoryText, c::kClearSearchHistorySection);
    // An empty host text would make every menu look like the search menu.
    return (!clear.empty() && StartsWith(text, clear)) || StartsWith(text, kClearSearchHistoryEnglish);
}

bool SortingWanted() {
    return SettingOn(Setting::SortSearchAlphabetical) ||
           (SettingOn(Setting::SortSearchCustom) && !SettingText(Setting::SortSearchOrder).empty());
}

}  // namespace

void StartSortSearch() { State().SortSearchOn = SortingWanted(); }

void StopSortSearch() noexcept { State().SortSearchOn = false; }

LRESULT SortSearchMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_INITMENU || hwnd != State().MainFrameWnd) return msg;
    const auto menu = reinterpret_cast<HMENU>(wParam);
    if (IsSearchMenu(menu)) SortSearchMenu(menu);
    return msg;
}

void SortSearchMenu(HMENU searchMenu) {
    if (SettingOn(Setting::SortSearchAlphabetical)) {
        std::vector<std::string> names;
        const int engines = EngineCount(searchMenu);
        for (int i = 0; i < engines; ++i) names.push_back(menus::ItemText(searchMenu, static_cast<UINT>(i), true));
        // Stable, as the neighbour exchanges that never swap equal names.
        std::stable_sort(names.begin(), names.end(),
                         [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
        ApplySearchOrder(searchMenu, names);
    } else if (SettingOn(Setting::SortSearchCustom)) {
        const std::string order = SettingText(Setting::SortSearchOrder);
        if (!order.empty()) ApplySearchOrder(searchMenu, Split(order, '|'));
    }
}

void ApplySearchOrder(HMENU searchMenu, const std::vector<std::string>& names) {
    const int engines = EngineCount(searchMenu);
    int placed = 0;
    for (const std::string& name : names) {
        // An empty name would match the first engine left, whatever it is.
        if (name.empty()) continue;
        const std::string wanted = Lower(name);
        // An engine named exactly so goes before one whose name only begins so
        // ("Google" is not "Google Images").
        int found = -1;
        for (int pos = placed; pos < engines; ++pos) {
            const std::string text = Lower(menus::ItemText(searchMenu, static_cast<UINT>(pos), true));
            if (text == wanted) {
                found = pos;
                break;
            }
            if (found < 0 && StartsWith(text, wanted)) found = pos;
        }
        // Names that match nothing leave no gap: the next match goes right after the last one.
        if (found >= 0 && menus::MoveItem(searchMenu, static_cast<UINT>(found), static_cast<UINT>(placed))) ++placed;
    }
}

namespace {
constexpr MessageSet kActsOn{WM_INITMENU};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 90, kAnyKey, {&SharedState::SortSearchOn}, &ByValue<&SortSearchMessage>,
        ResultUse::Ignored, kActsOn),
};
}  // namespace

constinit const Feature kSortSearchFeature{.name = "search-engine order",
                                           .setting = Setting::SortSearch,
                                           .start = &Run<&StartSortSearch>,
                                           .stop = &StopSortSearch,
                                           .running = &SharedState::SortSearchOn,
                                           .rows = kRows};

}  // namespace tillwick
