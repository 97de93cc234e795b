// How a feature plugs into the spine: one descriptor per feature, listed in
// one table (src/plugin/feature_table.cpp). Start-up, the window procedures'
// dispatch, the options dialog's Apply, the teardown on the last release,
// a test's fresh start and the diagnostics report all read that table, so
// the spine never names a feature.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "core/state.h"
#include "host/host.h"
#include "settings/settings_catalogue.h"

namespace tillwick {

// ---- dispatch rows -----------------------------------------------------------------
// How a window procedure calls a feature handler: every argument by reference,
// so that a handler that may change them (HideTabBarMessage) sits in the same
// tables; the others are reached through ByValue, which passes copies.
using HandlerCall = LRESULT (*)(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result);

template <LRESULT (*Handler)(HWND, UINT, WPARAM, LPARAM, LRESULT&)>
LRESULT ByValue(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    return Handler(hwnd, msg, wParam, lParam, result);
}

// What the window procedure does with a handler's return value: nothing, use
// it as the message number from then on (0 reaches the host as WM_NULL), or
// as the lParam. On the address box and its overlay the rows run after the
// host's procedure and their value replaces the host's result.
enum class ResultUse : std::uint8_t { Ignored, ReplacesMsg, ReplacesLParam };

// The messages a handler acts on. Handed any other message, a handler changes
// nothing and gives back the value its row passes on, so the window procedure
// skips it without asking for the key state: a message no handler wants costs
// a few flag tests. All the messages are system ones (below WM_USER).
class MessageSet {
public:
    constexpr MessageSet(std::initializer_list<UINT> messages) {
        for (UINT m : messages) {
            if (m >= kLimit) throw "a message set holds system messages only";  // stops the compiler
            bits_[m / 64] |= std::uint64_t{1} << (m % 64);
        }
    }
    // Every message, for a test's stand-in handlers.
    static constexpr MessageSet Every() {
        MessageSet set{};
        set.every_ = true;
        return set;
    }
    constexpr bool Has(UINT msg) const noexcept {
        return every_ || (msg < kLimit && ((bits_[msg / 64] >> (msg % 64)) & 1) != 0);
    }

private:
    static constexpr UINT kLimit = 0x400;
    std::array<std::uint64_t, kLimit / 64> bits_{};
    bool every_ = false;
};

// One row of a hooked window's dispatch. A window is hooked while any flag of
// its rows is set. A row runs when its handler acts on the message and any
// of its flags is set (or always), and, for the rows
// marked bypassable, only while the global modifier key is up. Each window
// runs its rows in the order of their rank, whichever features they belong to.
struct DispatchRow {
    HookedWindow window;
    std::uint8_t rank;
    std::array<bool SharedState::*, 3> anyOf;
    bool always;
    bool bypassable;
    HandlerCall handler;
    ResultUse use;
    const MessageSet* actsOn;
};

inline constexpr bool kBypassable = true;  // skipped while the global modifier key is held
inline constexpr bool kAnyKey = false;

constexpr DispatchRow Row(HookedWindow window, std::uint8_t rank, bool bypassable,
                          std::array<bool SharedState::*, 3> anyOf, HandlerCall handler, ResultUse use,
                          const MessageSet& actsOn) {
    return DispatchRow{window, rank, anyOf, false, bypassable, handler, use, &actsOn};
}
// A row that runs whatever the flags say, once its window is hooked; the
// window is hooked for it while any of hookedWhile is set.
constexpr DispatchRow AlwaysRow(HookedWindow window, std::uint8_t rank, std::array<bool SharedState::*, 3> hookedWhile,
                                HandlerCall handler, ResultUse use, const MessageSet& actsOn) {
    return DispatchRow{window, rank, hookedWhile, true, false, handler, use, &actsOn};
}

// ---- start points and notices ------------------------------------------------------
// When a feature's start runs: in DeferredStartup's pass over the table, or
// when the window it works on is found, or never at start-up (only Apply).
enum class StartPoint : std::uint8_t {
    DeferredStartup,
    ButtonsToolbar,   // the host's main tool bar
    PluginToolbar,    // the host's plug-in button bar
    AddressBox,       // the address combo box
    AddressEdit,      // the address box's edit control
    StatusCaptured,   // the status-bar images are taken
    Never,
};

// What one pass of DeferredStartup decides beyond the features themselves.
struct StartRun {
    std::int32_t tabCount = 0;  // the tab to select at the end is 0xBFFF + tabCount
};

// What the spine tells every feature.
enum class Notice : std::uint8_t {
    FeaturesStarted,    // DeferredStartup has run the table
    SecurityIdKnown,    // the host's security id arrived
    TabSwitched,        // the active tab's page window was found
    NavigationStarted,  // BeforeNavigate2 or DownloadBegin
    DownloadComplete,
    Progress,           // ProgressChange: progress of progressMax
    OwnButton,          // the plugin's button or its Options-menu entry
};
struct SpineNotice {
    Notice what;
    std::int32_t progress = 0;
    std::int32_t progressMax = 0;
};

// How Apply restarts a feature: not at all, stop (while it runs) then start
// (when its switch is on), or the feature's own way.
enum class ApplyRestart : std::uint8_t { No, StopThenStart, Own };

// ---- the descriptor ------------------------------------------------------------------
struct Feature {
    const char* name;  // names its steps in the diagnostics
    std::optional<Setting> setting = {};  // its switch, or the value its start is handed
    bool isSwitch = true;            // start runs only when the value is "1"
    StartPoint startAt = StartPoint::DeferredStartup;
    void (*start)(StartRun& run, std::string_view value) = nullptr;
    void (*stop)() noexcept = nullptr;
    bool SharedState::*running = nullptr;  // stop runs while this is set; without it, always
    ApplyRestart apply = ApplyRestart::StopThenStart;
    void (*restart)() = nullptr;           // ApplyRestart::Own
    std::span<const DispatchRow> rows = {};
    void (*notice)(const SpineNotice& notice) = nullptr;
    void (*release)() noexcept = nullptr;  // the last release, after every stop: what outlives a stop
    void (*reset)() = nullptr;             // a test starting afresh: the feature's own state
    void (*diagnose)() = nullptr;          // appends its findings to DiagnosticsText
};

// A start that takes no value.
template <void (*F)()>
void Run(StartRun&, std::string_view) {
    F();
}

// The table the plugin is built with, in the order the design needs (defined
// by src/plugin/feature_table.cpp).
std::span<const Feature* const> FeatureTable() noexcept;
// The table in use: FeatureTable unless a test put another in its place.
std::span<const Feature* const> Features() noexcept;
void SubstituteFeatures(std::span<const Feature* const> table) noexcept;

// Each hooked window's rows, in rank order, gathered from the table in use.
std::span<const DispatchRow* const> RowsOf(HookedWindow window) noexcept;

// Runs the start of every feature of that start point whose switch is on;
// the number started.
int StartFeaturesAt(StartPoint point, StartRun& run) noexcept;
// Stops and starts the features again from their settings, in table order.
void RestartFeatures() noexcept;
// The teardown: every running feature's stop, then every release.
void StopFeatures() noexcept;
void NotifyFeatures(const SpineNotice& notice) noexcept;
void AppendFeatureDiagnostics() noexcept;
// Every feature's own state back to its start (ResetState calls this).
void ResetFeatures() noexcept;

}  // namespace tillwick
