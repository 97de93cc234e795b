// The simulated Windows where the product and the scenario tests lean on it
// beyond what the conformance suite checks on both backends: the virtual
// clock, swallowed exceptions and leak counters, the menu loop and message
// boxes answered by the test, and the control behaviours the features drive.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/host.h"
#include "host/sim/sim.h"

namespace {

std::vector<std::string> trace;  // what the tests' procedures and timers saw

// Records what a timer or a post sends it.
LRESULT CALLBACK Recording(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) trace.push_back("posted");
    if (m == WM_TIMER) trace.push_back("WM_TIMER " + std::to_string(w));
    return host::DefWindowProcA(h, m, w, l);
}

class Sim : public ::testing::Test {
protected:
    void SetUp() override {
        host::sim::Reset();
        trace.clear();
        Register("SimPlain", &host::DefWindowProcA);
        Register("SimRecording", Recording);
    }
    void TearDown() override { EXPECT_EQ(host::sim::SwallowedExceptionCount(), expectedSwallowed); }
    static void Register(const char* name, WNDPROC proc) {
        const WNDCLASSA wc{.lpfnWndProc = proc, .lpszClassName = name};
        ASSERT_NE(host::RegisterClassA(&wc), 0) << name;
    }
    static HWND Make(const char* cls, DWORD style, HWND parent = nullptr, RECT r = {0, 0, 100, 100},
                     const char* title = "", UINT_PTR id = 0) {
        return host::CreateWindowExA(0, cls, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     parent, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
    // The messages of the log that went to `hwnd`, restricted to `only`.
    static std::vector<UINT> Sequence(HWND hwnd, const std::vector<UINT>& only) {
        std::vector<UINT> out;
        for (const auto& m : host::sim::MessageLog())
            if (m.hwnd == hwnd && std::find(only.begin(), only.end(), m.msg) != only.end()) out.push_back(m.msg);
        return out;
    }
    int expectedSwallowed = 0;
};

// ---- window procedures and windows -------------------------------------------------------

WNDPROC previous;
std::u16string layerSaw;

LRESULT CALLBACK WideLayer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTEXT && l) layerSaw = reinterpret_cast<const char16_t*>(l);
    if (m == WM_USER + 7) throw std::runtime_error("layer failure");
    return host::CallWindowProcW(previous, h, m, w, l);
}

TEST_F(Sim, AThrowingLayerIsCountedAndAnswersZeroAndAControlHandsOutItsUnicodeProcedure) {
    HWND frame = Make("SimPlain", WS_POPUP);
    HWND edit = Make("Edit", WS_CHILD, frame, {0, 0, 80, 20}, "x");
    previous = reinterpret_cast<WNDPROC>(
        host::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WideLayer)));
    // A control with both procedures gives its Unicode one, not a handle.
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(previous) & 0xFFFF0000u, 0xFFFF0000u);
    host::SetWindowTextA(edit, "typed");
    EXPECT_EQ(layerSaw, u"typed");
    EXPECT_EQ(host::sim::WindowText(edit), "typed");

    EXPECT_EQ(host::SendMessageA(edit, WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 1);
    expectedSwallowed = 1;
    EXPECT_TRUE(host::SetWindowTextA(edit, "after"));
    EXPECT_EQ(host::sim::WindowText(edit), "after");
}

TEST_F(Sim, AWindowTakesItsTimersHotKeysAndTooltipAlongAndItsHandleIsNeverReused) {
    HWND frame = Make("SimPlain", WS_OVERLAPPEDWINDOW);
    HWND tabs = Make("SysTabControl32", WS_CHILD | TCS_TOOLTIPS, frame);
    HWND tip = reinterpret_cast<HWND>(host::SendMessageA(tabs, TCM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(host::GetParent(tip), frame);  // a pop-up owned by the tab control's top-level window
    ASSERT_NE(host::SetTimer(tabs, 5, 100, nullptr), 0u);
    ASSERT_TRUE(host::RegisterHotKey(frame, 1, MOD_CONTROL, 'M'));
    const int windows = host::sim::LiveWindowCount();
    EXPECT_EQ(host::sim::LiveTimerCount(), 1);

    EXPECT_TRUE(host::DestroyWindow(frame));
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
    EXPECT_EQ(host::sim::LiveWindowCount(), windows - 3);
    EXPECT_TRUE(host::sim::RegisteredHotKeys().empty());
    EXPECT_FALSE(host::KillTimer(tabs, 5));
    for (HWND old : {frame, tabs, tip}) EXPECT_NE(Make("SimPlain", WS_POPUP), old);
}

TEST_F(Sim, FrameStyleChangesTakeEffectOnFrameChanged) {
    HWND frame = Make("SimPlain", WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 300, 200});
    RECT before{}, after{};
    host::GetClientRect(frame, &before);
    host::sim::ClearMessageLog();
    host::SetWindowLongPtrW(frame, GWL_STYLE, host::GetWindowLongA(frame, GWL_STYLE) & ~static_cast<LONG>(WS_CAPTION));
    EXPECT_EQ(Sequence(frame, {WM_STYLECHANGING, WM_STYLECHANGED, WM_SIZE}),
              (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    host::GetClientRect(frame, &after);
    EXPECT_EQ(after.bottom, before.bottom);

    host::SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    host::GetClientRect(frame, &after);
    EXPECT_GT(after.bottom, before.bottom);
    EXPECT_FALSE(Sequence(frame, {WM_SIZE}).empty());
}

TEST_F(Sim, ShowingActivatesHidingPassesActivationOnAndFocusingAChildActivatesItsWindow) {
    HWND first = Make("SimPlain", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND second = Make("SimPlain", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(host::GetForegroundWindow(), first);
    EXPECT_EQ(host::GetFocus(), first);
    host::ShowWindow(second, SW_SHOW);
    EXPECT_EQ(host::GetForegroundWindow(), second);
    host::ShowWindow(second, SW_HIDE);
    EXPECT_EQ(host::GetForegroundWindow(), first);
    host::ShowWindow(second, SW_SHOW);  // hidden by SetWindowPos, the same
    host::SetWindowPos(second, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(host::GetForegroundWindow(), first);

    HWND child = Make("SimPlain", WS_CHILD | WS_VISIBLE, second);
    host::ShowWindow(second, SW_SHOWNA);
    EXPECT_EQ(host::GetForegroundWindow(), first);
    EXPECT_NE(host::SetFocus(child), nullptr);
    EXPECT_EQ(host::GetForegroundWindow(), second);
    EXPECT_EQ(host::GetFocus(), child);
}

// ---- messages and the virtual clock -------------------------------------------------

LRESULT CALLBACK Endless(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) return 1 + host::SendMessageA(h, WM_USER, w, l);
    return host::DefWindowProcA(h, m, w, l);
}

TEST_F(Sim, RunawayRecursionIsCutOffAndRegisteredMessagesOutliveAReset) {
    Register("SimEndless", Endless);
    const LRESULT depth = host::SendMessageA(Make("SimEndless", WS_POPUP), WM_USER, 0, 0);
    EXPECT_GT(depth, 100);
    EXPECT_LT(depth, 100000);

    const UINT first = host::RegisterWindowMessageA("SimTest.Stable");
    host::sim::Reset();
    EXPECT_EQ(host::RegisterWindowMessageA("simtest.stable"), first);
    EXPECT_EQ(host::RegisterWindowMessageA(""), 0u);
}

template <char Tag>
void CALLBACK Record(HWND, UINT, UINT_PTR, DWORD) {
    trace.push_back(std::string(1, Tag) + std::to_string(host::sim::Now()));
}

void CALLBACK StartsAnother(HWND, UINT, UINT_PTR id, DWORD) {
    Record<'s'>(nullptr, 0, 0, 0);
    host::KillTimer(nullptr, id);
    host::SetTimer(nullptr, 0, 30, Record<'n'>);
}

void CALLBACK ReplacesItself(HWND, UINT, UINT_PTR id, DWORD) {
    Record<'r'>(nullptr, 0, 0, 0);
    host::SetTimer(nullptr, id, 100, Record<'R'>);  // same id: new period, new procedure
}

void CALLBACK Posts(HWND, UINT, UINT_PTR, DWORD) {
    Record<'p'>(nullptr, 0, 0, 0);
    host::PostMessageA(host::FindWindowA("SimRecording", nullptr), WM_USER, 0, 0);
}

using Trace = std::vector<std::string>;

TEST_F(Sim, DueTimersFireInTimeOrderTiesInCreationOrderAndZeroDelayWaitsForThePump) {
    host::SetTimer(nullptr, 0, 50, Record<'b'>);
    host::SetTimer(nullptr, 0, 20, Record<'a'>);
    host::SetTimer(nullptr, 0, 50, Record<'c'>);
    host::sim::Advance(100);  // at 100 all three are due: creation order
    EXPECT_EQ(trace, (Trace{"a20", "a40", "b50", "c50", "a60", "a80", "b100", "a100", "c100"}));
    EXPECT_EQ(host::sim::Now(), 100u);

    host::sim::Reset();
    trace.clear();
    host::SetTimer(nullptr, 0, 0, Record<'z'>);
    EXPECT_TRUE(trace.empty());
    host::sim::RunPending();
    host::sim::RunPending();  // not due again until the 10 ms minimum has passed
    EXPECT_EQ(trace, (Trace{"z0"}));
    host::sim::Advance(25);
    EXPECT_EQ(trace, (Trace{"z0", "z10", "z20"}));
}

TEST_F(Sim, TimersKilledCreatedOrReplacedByCallbacksTakeEffectInTheSameAdvance) {
    host::SetTimer(nullptr, 0, 10, StartsAnother);
    const UINT_PTR replaced = host::SetTimer(nullptr, 0, 15, ReplacesItself);
    host::sim::Advance(400);
    // s at 10 starts n (every 30 ms); r at 15 turns into R (due 115, 215, ...).
    EXPECT_EQ(Trace(trace.begin(), trace.begin() + 7), (Trace{"s10", "r15", "n40", "n70", "n100", "R115", "n130"}));
    EXPECT_EQ(host::sim::LiveTimerCount(), 2);

    // An unknown id gets a fresh one; a known one is replaced in place.
    const UINT_PTR fresh = host::SetTimer(nullptr, 12345, 10, Record<'x'>);
    EXPECT_NE(fresh, 12345u);
    EXPECT_NE(fresh, replaced);
    EXPECT_EQ(host::SetTimer(nullptr, replaced, 40, Record<'A'>), replaced);
    EXPECT_EQ(host::sim::LiveTimerCount(), 3);
}

TEST_F(Sim, AMessagePostedByATimerGoesBeforeTheNextTimerAndWindowTimersArriveAsWmTimer) {
    HWND w = Make("SimRecording", WS_POPUP);
    host::SetTimer(nullptr, 0, 10, Posts);
    host::SetTimer(nullptr, 0, 10, Record<'x'>);
    host::SetTimer(w, 3, 15, nullptr);
    host::sim::Advance(15);
    EXPECT_EQ(trace, (Trace{"p10", "posted", "x10", "WM_TIMER 3"}));
}

TEST_F(Sim, TheTabSelectionFollowsItsTabThroughInsertsAndDeletes) {
    HWND tabs = Make("SysTabControl32", WS_CHILD | WS_VISIBLE, Make("SimPlain", WS_POPUP), {0, 0, 600, 24});
    TCITEMA item{.mask = TCIF_TEXT, .pszText = const_cast<char*>("tab")};
    auto insert = [&](WPARAM at) { host::SendMessageA(tabs, TCM_INSERTITEMA, at, reinterpret_cast<LPARAM>(&item)); };
    auto selected = [&] { return host::SendMessageA(tabs, TCM_GETCURSEL, 0, 0); };
    for (int i = 0; i < 3; ++i) insert(99);
    EXPECT_EQ(selected(), 0);  // the first tab inserted is selected
    host::SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    insert(0);
    EXPECT_EQ(selected(), 2);
    host::SendMessageA(tabs, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(selected(), 1);
    host::SendMessageA(tabs, TCM_DELETEITEM, 1, 0);  // the selected tab itself
    EXPECT_EQ(selected(), -1);
}

// ---- menus ---------------------------------------------------------------------------

// Menu editing is the conformance suite's; beyond it: an insert by command lands in the
// submenu that holds the command.
TEST_F(Sim, MenusInsertByCommandIntoTheSubmenuAndAreCountedUntilDestroyed) {
    HMENU bar = host::CreateMenu();
    HMENU file = host::CreatePopupMenu();
    host::AppendMenuA(file, MF_STRING, 11, "Close");
    host::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    EXPECT_EQ(host::sim::LiveMenuCount(), 2);
    EXPECT_TRUE(host::InsertMenuA(bar, 11, MF_BYCOMMAND | MF_STRING, 12, "Save"));
    EXPECT_EQ(host::GetMenuItemID(file, 0), 12u);
    EXPECT_EQ(host::GetMenuItemCount(bar), 1);
    EXPECT_TRUE(host::DestroyMenu(bar));  // takes its submenu too
    EXPECT_EQ(host::sim::LiveMenuCount(), 0);
}

HMENU tracked = nullptr;

LRESULT CALLBACK MenuOwner(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND || m == WM_KEYDOWN) trace.push_back(m == WM_COMMAND ? std::to_string(w) : "key");
    if (m == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(w) == tracked) {
        host::AppendMenuA(tracked, MF_STRING, 42, "Added on open");
        host::EnableMenuItem(tracked, 41, MF_BYCOMMAND | MF_GRAYED);
    }
    if (m == WM_ENTERIDLE) host::PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);  // eaten by the menu loop
    return host::DefWindowProcA(h, m, w, l);
}

class SimTrackPopup : public Sim {
protected:
    void SetUp() override {
        Sim::SetUp();
        Register("SimOwner", MenuOwner);
        owner = Make("SimOwner", WS_POPUP | WS_VISIBLE);
        tracked = host::CreatePopupMenu();
        host::AppendMenuA(tracked, MF_STRING, 40, "Forty");
        host::AppendMenuA(tracked, MF_STRING, 41, "Forty-one");
        host::sim::ClearMessageLog();
    }
    UINT Track(UINT flags, HWND to) { return host::TrackPopupMenu(tracked, flags, 5, 6, 0, to, nullptr); }
    HWND owner = nullptr;
};

TEST_F(SimTrackPopup, TheOwnerSeesWin32sSequenceAndTheMenuAsShown) {
    host::sim::QueueMenuAnswer(42);
    EXPECT_EQ(Track(TPM_RETURNCMD, owner), 42u);
    EXPECT_EQ(Sequence(owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_ENTERIDLE, WM_MENUSELECT,
                               WM_CAPTURECHANGED, WM_UNINITMENUPOPUP, WM_EXITMENULOOP}),
              (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_ENTERIDLE, WM_MENUSELECT,
                                 WM_CAPTURECHANGED, WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP}));
    ASSERT_EQ(host::sim::TrackedMenus().size(), 1u);
    EXPECT_EQ(host::sim::TrackedMenus()[0].x, 5);
    host::sim::RunPending();
    EXPECT_TRUE(trace.empty());  // the key posted while the menu was up went to the menu
}

TEST_F(SimTrackPopup, AnswersArePostedOrDismissedAndMessageBoxesAnsweredInOrder) {
    host::sim::QueueMenuAnswer(40);  // without TPM_RETURNCMD: a posted command
    EXPECT_NE(Track(TPM_RIGHTBUTTON, owner), 0u);
    EXPECT_TRUE(trace.empty());
    host::sim::RunPending();
    EXPECT_EQ(trace, (Trace{"40"}));

    // 41 is greyed in WM_INITMENUPOPUP, 999 is not in the menu.
    for (UINT id : {41u, 999u}) host::sim::QueueMenuAnswer(id);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Track(TPM_RETURNCMD, owner), 0u) << i;  // the third: nothing queued
    host::sim::ClearMessageLog();
    host::sim::QueueMenuAnswer(40);
    EXPECT_EQ(Track(TPM_RETURNCMD | TPM_NONOTIFY, owner), 40u);
    EXPECT_TRUE(Sequence(owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP}).empty());
    EXPECT_FALSE(host::TrackPopupMenu(host::CreatePopupMenu(), TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(Track(0, nullptr), 0u);  // no owner window
    EXPECT_EQ(host::sim::TrackedMenus().size(), 5u);  // neither the empty menu nor the ownerless one showed

    host::sim::QueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(host::MessageBoxA(owner, "Close all tabs?", "Tillwick", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(host::MessageBoxA(owner, "Done", nullptr, MB_OK), IDOK);
    ASSERT_EQ(host::sim::MessageBoxes().size(), 2u);
    EXPECT_EQ(host::sim::MessageBoxes()[0].text, "Close all tabs?");
    EXPECT_EQ(host::sim::MessageBoxes()[1].caption, "Error");  // Windows' caption when none is given
}

// ---- files, page objects, input and process facts -------------------------------------

TEST_F(Sim, FoldersExistThroughTheirFilesAndAreListedInNtfsOrder) {
    host::sim::PutFile("C:/Host/Plugin/Tillwick/plugin.ini", "[General]");
    EXPECT_TRUE(host::fs::FolderExists("c:\\host\\plugin\\TILLWICK\\"));
    EXPECT_FALSE(host::fs::FolderExists("C:\\Host\\Plugin\\Tillwick\\plugin.ini"));
    EXPECT_TRUE(host::fs::FolderExists("D:"));  // drive roots always exist
    EXPECT_TRUE(host::fs::DeleteFile("C:\\Host\\Plugin\\Tillwick\\plugin.ini"));
    EXPECT_FALSE(host::fs::FolderExists("C:\\Host\\Plugin\\Tillwick"));  // it was never created on its own

    for (const char* name : {"zeta", "Alpha", "_under", "beta", "ALPHA2"})
        host::sim::PutFile(std::string("C:\\Host\\Plugin\\") + name + "\\plugin.ini", "x");
    host::sim::PutFile("C:\\Host\\Plugin\\Beta\\second.ini", "same folder, other case");
    host::sim::PutFile("C:\\Host\\Plugin\\loose.txt", "not a folder");
    ASSERT_TRUE(host::fs::CreateFolder("C:\\Host\\Plugin\\Empty"));
    // NTFS compares upper-cased names: '_' (0x5F) sorts after the letters.
    EXPECT_EQ(host::fs::ListSubfolders("c:/host/plugin"),
              (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "Empty", "zeta", "_under"}));
}

TEST_F(Sim, PropertyBagsAnswerByNameInAnyCaseAndKeepFailuresInside) {
    auto window = host::sim::MakeObject();
    auto document = host::sim::MakeObject();
    document->Set("Title", std::string("Page"));
    window->Set("document", host::Object(document));
    window->SetMethod("open", [](const std::vector<host::Value>& args) -> std::optional<host::Value> {
        return host::Value(static_cast<std::int32_t>(args.size()));
    });
    window->SetMethod("fail", [](const std::vector<host::Value>&) -> std::optional<host::Value> {
        throw std::runtime_error("script error");
    });
    const host::Object w(window);
    EXPECT_EQ(w.GetObject("DOCUMENT").GetText("title"), "Page");
    EXPECT_EQ(std::get<std::int32_t>(*w.Call("Open", {1, 2})), 2);
    for (const char* method : {"missing", "fail"}) EXPECT_FALSE(w.Call(method).has_value()) << method;
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 1);
    expectedSwallowed = 1;
    EXPECT_FALSE(w.Put("open", 1));  // a method is not a property
    EXPECT_TRUE(w.Put("status", std::string("ok")));
    EXPECT_EQ(w.GetText("STATUS"), "ok");

    const LRESULT first = host::sim::LresultFromObject(w);
    EXPECT_NE(first, 0);
    EXPECT_EQ(host::ObjectFromLresult(first), w);
    EXPECT_FALSE(host::ObjectFromLresult(first + 1000));
    EXPECT_EQ(host::sim::LresultFromObject(host::Object()), 0);
}

TEST_F(Sim, KeyStateHotKeysAndTheModulePath) {
    host::sim::SetKeyDown(VK_SHIFT, true);
    EXPECT_LT(host::GetKeyState(VK_SHIFT), 0);
    host::sim::SetKeyDown(VK_SHIFT, true);  // still the same press
    host::sim::SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(host::GetKeyState(VK_SHIFT), 1);  // up, toggled once

    HWND w = Make("SimPlain", WS_POPUP);
    EXPECT_TRUE(host::RegisterHotKey(w, 1, MOD_CONTROL, VK_F12));
    EXPECT_TRUE(host::RegisterHotKey(w, 1, MOD_ALT, VK_F1));  // same window and id: replaced
    EXPECT_FALSE(host::sim::PressHotKey(MOD_CONTROL, VK_F12));
    host::sim::ClearMessageLog();
    EXPECT_TRUE(host::sim::PressHotKey(MOD_ALT, VK_F1));
    host::sim::RunPending();
    ASSERT_EQ(Sequence(w, {WM_HOTKEY}).size(), 1u);
    EXPECT_EQ(host::sim::MessageLog().back().lParam, MAKELPARAM(MOD_ALT, VK_F1));

    host::sim::SetExecutablePath("C:\\Maxthon\\Maxthon.exe");
    char full[64] = {}, small[8] = {};
    EXPECT_EQ(host::GetModuleFileNameA(nullptr, full, sizeof(full)), 22u);
    EXPECT_STREQ(full, "C:\\Maxthon\\Maxthon.exe");
    EXPECT_EQ(host::GetModuleFileNameA(nullptr, small, sizeof(small)), 8u);
    EXPECT_STREQ(small, "C:\\Maxt");
}

}  // namespace
