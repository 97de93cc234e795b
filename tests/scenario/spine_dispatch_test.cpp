// The window procedures: what a handler's result replaces, the pop-up filter
// mirror, active-tab tracking, the self-command, WM_CLOSE clean-up and
// removing the hooks.
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/feature.h"
#include "core/startup.h"
#include "features/always_on_top.h"
#include "features/hide_status_bar.h"
#include "features/hide_tab_bar.h"
#include "features/hide_title.h"
#include "menus/host_menus.h"
#include "scenario/spine_fixture.h"
#include "settings/settings_files.h"
#include "support/step_failures.h"

namespace spine {
namespace {

using tillwick::HandlerCall;
using tillwick::State;

// The feature handlers the tests name: each recorded call says which row's handler it stood for.
const HandlerCall HideStatusBar = &tillwick::ByValue<&tillwick::HideStatusBarMessage>;
const HandlerCall HideTabBar = &tillwick::HideTabBarMessage;
const HandlerCall AlwaysOnTop = &tillwick::ByValue<&tillwick::AlwaysOnTopMessage>;
const HandlerCall HideTitle = &tillwick::ByValue<&tillwick::HideTitleMessage>;
const HandlerCall ShowInMenu = &tillwick::ByValue<&tillwick::ShowInMenuMessage>;

struct Call {
    HandlerCall handler;
    LPARAM lParam;
};
std::vector<Call> g_calls;
// What a handler does beyond recording: nothing, consume (return 0), throw, or press the modifier.
std::map<HandlerCall, std::function<LRESULT(UINT, LPARAM)>> g_behaviour;

// The feature table with every row's handler replaced by a recorder that
// acts on every message; the recorder of row I knows the handler it replaced.
constexpr std::size_t kMaxRows = 48;
std::array<HandlerCall, kMaxRows> g_rowHandlers{};

template <std::size_t I>
LRESULT Recorder(HWND&, UINT& msg, WPARAM&, LPARAM& lParam, LRESULT&) {
    const HandlerCall handler = g_rowHandlers[I];
    g_calls.push_back({handler, lParam});
    if (auto it = g_behaviour.find(handler); it != g_behaviour.end()) return it->second(msg, lParam);
    return handler == HideTitle ? lParam : static_cast<LRESULT>(msg);
}

template <std::size_t... I>
constexpr std::array<HandlerCall, kMaxRows> Recorders(std::index_sequence<I...>) {
    return {&Recorder<I>...};
}

struct RecordingTable {
    std::vector<tillwick::Feature> features;
    std::vector<std::vector<tillwick::DispatchRow>> rows;
    std::vector<const tillwick::Feature*> table;

    RecordingTable() {
        static constexpr tillwick::MessageSet kEvery = tillwick::MessageSet::Every();
        static constexpr auto kRecorders = Recorders(std::make_index_sequence<kMaxRows>());
        std::size_t next = 0;
        for (const tillwick::Feature* f : tillwick::FeatureTable()) {
            std::vector<tillwick::DispatchRow>& own = rows.emplace_back(f->rows.begin(), f->rows.end());
            for (tillwick::DispatchRow& row : own) {
                g_rowHandlers.at(next) = row.handler;
                row.handler = kRecorders.at(next++);
                row.actsOn = &kEvery;
            }
            // The rows' buffer stays where it is when the outer vector grows.
            features.push_back(*f);
            features.back().rows = own;
        }
        for (const tillwick::Feature& f : features) table.push_back(&f);
    }
};

std::vector<HandlerCall> Handlers() {
    std::vector<HandlerCall> handlers;
    for (const Call& c : g_calls) handlers.push_back(c.handler);
    return handlers;
}

using S = tillwick::SharedState;

class SpineDispatch : public SpineTest {
protected:
    void SetUp() override {
        SpineTest::SetUp();
        g_calls.clear();
        g_behaviour.clear();
        static const RecordingTable recording;
        tillwick::SubstituteFeatures(recording.table);
    }

    // The host's windows with the flags set, hooked as start-up would hook them.
    void Hook(const std::vector<bool S::*>& flags) {
        BuildHost();
        tillwick::SharedState& s = State();
        for (auto [found, hwnd] : {std::pair{&S::MainFrameWnd, w.frame}, {&S::MdiClientWnd, w.mdi},
                                   {&S::StatusBarWnd, w.status}, {&S::TabBarWnd, w.tabBar}, {&S::RebarWnd, w.rebar},
                                   {&S::AddressComboWnd, w.addressCombo}, {&S::AddressEditWnd, w.addressEdit},
                                   {&S::SearchEditWnd, w.searchEdit}})
            s.*found = hwnd;
        s.GlobalModifierKey = VK_SHIFT;
        for (auto flag : flags) s.*flag = true;
        tillwick::InstallSubclasses();
        g_calls.clear();
        hostLog.clear();
    }
};

TEST_F(SpineDispatch, TitleHandlerReplacesLParamAndAFailingHandlerChangesNothing) {
    // The hooked windows are Unicode windows: text pointers are UTF-16.
    static const char16_t caption[] = u"Private";
    Hook({&S::HideTitleOn, &S::OnTopDispatch, &S::ShowInMenuOn});
    g_behaviour[HideTitle] = [](UINT, LPARAM) { return reinterpret_cast<LRESULT>(caption); };
    g_behaviour[AlwaysOnTop] = [](UINT, LPARAM) -> LRESULT { throw std::runtime_error("bad setting"); };
    testsupport::ExpectFailedSteps();
    host::SendMessageA(w.frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Example - Maxthon"));
    EXPECT_EQ(HostReceived(w.frame, WM_SETTEXT), 1);  // not replaced by the failed handler
    EXPECT_EQ(host::sim::WindowText(w.frame), "Private");
    ASSERT_EQ(Handlers(), (std::vector<HandlerCall>{AlwaysOnTop, HideTitle, ShowInMenu}));
    EXPECT_EQ(g_calls[2].lParam, reinterpret_cast<LPARAM>(caption));  // the next handler sees the new lParam
}

TEST_F(SpineDispatch, PopupFilterCommandsFlipTheMirrorWhateverTheHandlersDo) {
    Hook({&S::ToggleFilterOn, &S::HideTabBarOn});
    g_behaviour[HideTabBar] = [](UINT, LPARAM) { return LRESULT{0}; };  // a handler consumes the command
    bool before = State().PopupFilterEnabled;
    for (WPARAM command : {WPARAM{0x80F1}, WPARAM{0x813C}, WPARAM{0x180F1}}) {
        host::SendMessageA(w.frame, WM_COMMAND, command, 0);
        EXPECT_NE(State().PopupFilterEnabled, before) << command;
        before = State().PopupFilterEnabled;
    }
    host::SendMessageA(w.frame, WM_COMMAND, 0x80F2, 0);
    host::SendMessageA(w.frame, WM_NOTIFY, 0x80F1, 0);
    EXPECT_EQ(State().PopupFilterEnabled, before);
}

TEST_F(SpineDispatch, PageWindowIsHookedForTheActiveTabAndMovesWithIt) {
    Hook({&S::HideStatusBarOn});
    const Tab& active = w.tabs.back();
    EXPECT_EQ(State().PageViewWnd, active.page);
    EXPECT_EQ(ProcOf(active.page), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
    EXPECT_EQ(State().ActiveDocument, active.document);
    host::SendMessageA(active.page, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Handlers(), (std::vector<HandlerCall>{HideStatusBar}));  // the page window's rows run

    SwitchTab(1);
    EXPECT_EQ(State().PageViewWnd, w.tabs[1].page);
    EXPECT_EQ(ProcOf(w.tabs[1].page), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
    EXPECT_NE(ProcOf(active.page), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
    EXPECT_EQ(State().ActiveDocument, w.tabs[1].document);
}

TEST_F(SpineDispatch, ThreeCaptionRequestsWithin100msLookForTheActiveTabOnce) {
    Hook({});
    int before = Delivered(w.mdi, WM_MDIGETACTIVE);
    for (std::uint32_t wait : {40, 40, 99}) {
        host::SendMessageA(w.frame, WM_GETTEXT, 0, 0);
        host::sim::Advance(wait);
    }
    EXPECT_EQ(Delivered(w.mdi, WM_MDIGETACTIVE), before);
    host::sim::Advance(1);
    EXPECT_EQ(Delivered(w.mdi, WM_MDIGETACTIVE), before + 1);
    host::sim::Advance(1000);
    EXPECT_EQ(Delivered(w.mdi, WM_MDIGETACTIVE), before + 1);
    EXPECT_EQ(State().PageViewWnd, w.tabs.back().page);
    // Without a feature that needs it the page window is only tracked.
    EXPECT_NE(ProcOf(w.tabs.back().page), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
}

// The last host process takes the scratch files with it (the progress page
// stays); another process or an unknown count keeps them.
TEST_F(SpineDispatch, OnCloseScratchFilesGoWithTheLastHostProcessOnly) {
    for (const char* name : {"temp", "temp1", "temp2", "temp3"}) WriteText(kPluginFolder + "\\" + name, "x");
    tillwick::SetPluginFolder(kPluginFolder);
    Hook({});
    const auto exists = [](const char* name) { return host::fs::FileExists(kPluginFolder + "\\" + name); };
    for (auto [processes, removed] : {std::pair<std::optional<int>, bool>{2, false}, {std::nullopt, false}, {1, true}}) {
        SCOPED_TRACE(processes.value_or(-1));
        host::sim::SetProcessCount(processes);
        State().CurrentBrowser = host::Object(host::sim::MakeObject());
        host::SendMessageA(w.frame, WM_CLOSE, 0, 0);
        for (const char* name : {"temp", "temp1", "temp2"}) EXPECT_EQ(exists(name), !removed) << name;
        EXPECT_TRUE(exists("temp3"));
        EXPECT_FALSE(State().CurrentBrowser);
    }
    EXPECT_EQ(HostReceived(w.frame, WM_CLOSE), 3);
}

std::vector<int> g_stopped;
template <int N>
void RecordStop() noexcept {
    g_stopped.push_back(N);
}

// The teardown stops the last started first, skips what is not running, and releases after every stop.
TEST_F(SpineTest, TheTeardownStopsRunningFeaturesLastFirstThenReleases) {
    g_stopped.clear();
    const tillwick::Feature one{.name = "one", .stop = &RecordStop<1>},
        two{.name = "two", .stop = &RecordStop<2>, .running = &S::PasteGoOn},
        three{.name = "three", .stop = &RecordStop<3>, .release = &RecordStop<4>};
    const tillwick::Feature* const table[] = {&one, &two, &three};
    tillwick::SubstituteFeatures(table);
    tillwick::StopFeatures();
    EXPECT_EQ(g_stopped, (std::vector<int>{3, 1, 4}));
}

}  // namespace
}  // namespace spine
