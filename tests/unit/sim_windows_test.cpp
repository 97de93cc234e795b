// The sim's window tree, window procedures and the messages that window
// operations send, checked where Win32's rules are easy to get wrong.
#include <stdexcept>

#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

// ---- what a subclass layer meets ------------------------------------------------

std::string ansiSetText;  // what the ANSI class procedure saw in WM_SETTEXT
std::u16string layerSaw;  // what the Unicode layer saw in WM_SETTEXT
WNDPROC previous;

LRESULT CALLBACK AnsiOriginal(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTEXT && l) ansiSetText = reinterpret_cast<const char*>(l);
    return host::DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK WideLayer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTEXT && l) layerSaw = reinterpret_cast<const char16_t*>(l);
    if (m == WM_USER + 7) throw std::runtime_error("layer failure");
    return host::CallWindowProcW(previous, h, m, w, l);
}

class SimSubclass : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ansiSetText.clear();
        layerSaw.clear();
        Register("SimAnsiClass", AnsiOriginal);
        hwnd = Make("SimAnsiClass", WS_POPUP, nullptr, {0, 0, 50, 50}, "Start");
        ASSERT_NE(hwnd, nullptr);
    }
    void Install(HWND target) {
        previous = reinterpret_cast<WNDPROC>(
            host::SetWindowLongPtrW(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WideLayer)));
    }
    HWND hwnd = nullptr;
};

TEST_F(SimSubclass, AThrowingLayerAnswersZeroAndTheWindowLivesOn) {
    Install(hwnd);
    EXPECT_EQ(host::SendMessageA(hwnd, WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 1);
    expectedSwallowed = 1;
    EXPECT_TRUE(host::SetWindowTextA(hwnd, "after"));
    EXPECT_EQ(ansiSetText, "after");
}

TEST_F(SimSubclass, ABuiltInControlHandsOutItsUnicodeProcedure) {
    HWND edit = Make("Edit", WS_CHILD, hwnd, {0, 0, 80, 20}, "x");
    Install(edit);
    // A control with both procedures gives its Unicode one, not a handle.
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(previous) & 0xFFFF0000u, 0xFFFF0000u);
    host::SetWindowTextA(edit, "typed");
    EXPECT_EQ(layerSaw, u"typed");
    EXPECT_EQ(host::sim::WindowText(edit), "typed");
}

// ---- creation and destruction ------------------------------------------------

LRESULT CALLBACK RefusesCreate(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CREATE) return -1;
    return host::DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK RefusesNcCreate(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCREATE) return FALSE;
    return host::DefWindowProcA(h, m, w, l);
}

class SimWindows : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        Register("SimPlain");
    }
};

TEST_F(SimWindows, AVisibleChildIsCreatedWithWin32sMessageSequence) {
    HWND frame = Make("SimPlain", WS_POPUP | WS_VISIBLE, nullptr, {10, 10, 300, 200});
    host::sim::ClearMessageLog();
    HWND child = Make("SimPlain", WS_CHILD | WS_VISIBLE, frame, {5, 5, 50, 50}, "", 7);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(Sequence(child), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                                  WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    const auto& log = host::sim::MessageLog();
    auto notify = std::find_if(log.begin(), log.end(), [&](const auto& m) { return m.hwnd == frame; });
    ASSERT_NE(notify, log.end());
    EXPECT_EQ(notify->msg, WM_PARENTNOTIFY);
    EXPECT_EQ(notify->wParam, MAKEWPARAM(WM_CREATE, 7));
    EXPECT_EQ(notify->lParam, reinterpret_cast<LPARAM>(child));
}

TEST_F(SimWindows, RefusedCreationLeavesNoWindowAndNoWmDestroy) {
    WNDCLASSA wc{};
    wc.lpszClassName = "SimRefuses";
    wc.lpfnWndProc = RefusesCreate;
    host::RegisterClassA(&wc);
    wc.lpszClassName = "SimRefusesNc";
    wc.lpfnWndProc = RefusesNcCreate;
    host::RegisterClassA(&wc);

    EXPECT_EQ(Make("SimRefuses", WS_POPUP), nullptr);
    EXPECT_EQ(Make("SimRefusesNc", WS_POPUP), nullptr);
    EXPECT_EQ(host::sim::LiveWindowCount(), 0);
    // Each refused window still gets WM_NCDESTROY, never WM_DESTROY.
    for (const auto& m : host::sim::MessageLog()) EXPECT_NE(m.msg, WM_DESTROY);
    EXPECT_EQ(std::count_if(host::sim::MessageLog().begin(), host::sim::MessageLog().end(),
                            [](const auto& m) { return m.msg == WM_NCDESTROY; }),
              2);
}

TEST_F(SimWindows, DestroyTakesOwnedPopupsFirstThenTheTreeAndItsTimers) {
    HWND frame = Make("SimPlain", WS_OVERLAPPEDWINDOW);
    HWND child = Make("SimPlain", WS_CHILD, frame);
    HWND popup = Make("SimPlain", WS_POPUP, child);  // owned by the child's top-level window
    EXPECT_EQ(host::GetParent(popup), frame);
    ASSERT_NE(host::SetTimer(child, 5, 100, nullptr), 0u);
    EXPECT_EQ(host::sim::LiveTimerCount(), 1);
    host::sim::ClearMessageLog();

    EXPECT_TRUE(host::DestroyWindow(frame));
    std::vector<std::pair<HWND, UINT>> order;
    for (const auto& m : host::sim::MessageLog()) {
        if (m.msg == WM_DESTROY || m.msg == WM_NCDESTROY) order.emplace_back(m.hwnd, m.msg);
    }
    const std::vector<std::pair<HWND, UINT>> expected = {{popup, WM_DESTROY}, {popup, WM_NCDESTROY},
                                                         {frame, WM_DESTROY}, {child, WM_DESTROY},
                                                         {child, WM_NCDESTROY}, {frame, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
    EXPECT_EQ(host::sim::LiveWindowCount(), 0);

    // Handles are never handed out again.
    HWND again = Make("SimPlain", WS_POPUP);
    EXPECT_NE(again, frame);
    EXPECT_NE(again, child);
    EXPECT_NE(again, popup);
}

TEST_F(SimWindows, TopmostWindowsStayAboveAndFindWindowFollowsZOrder) {
    HWND a = Make("SimPlain", WS_POPUP, nullptr, {0, 0, 10, 10}, "a");
    HWND b = Make("SimPlain", WS_POPUP, nullptr, {0, 0, 10, 10}, "b");
    EXPECT_EQ(host::FindWindowA("SimPlain", nullptr), b);  // newest on top

    EXPECT_TRUE(host::SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_NE(host::GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    HWND c = Make("SimPlain", WS_POPUP, nullptr, {0, 0, 10, 10}, "c");
    EXPECT_EQ(host::FindWindowA("SimPlain", nullptr), a);          // above the newer window
    EXPECT_EQ(host::FindWindowExA(nullptr, a, "SimPlain", nullptr), c);

    EXPECT_TRUE(host::SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(host::GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(host::FindWindowA("SimPlain", nullptr), a);  // top of the non-topmost windows

    host::SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(host::FindWindowExA(nullptr, b, "SimPlain", nullptr), a);
}

TEST_F(SimWindows, WmSizeComesFromDefWindowProcAndOnlyWhenTheClientSizeChanges) {
    HWND frame = Make("SimPlain", WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 300, 200});
    host::sim::ClearMessageLog();
    host::MoveWindow(frame, 10, 10, 300, 200, TRUE);  // a move only
    EXPECT_EQ(Sequence(frame), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));

    host::sim::ClearMessageLog();
    host::MoveWindow(frame, 10, 10, 300, 200, TRUE);  // nothing changes: no WM_WINDOWPOSCHANGED
    EXPECT_EQ(Sequence(frame), (std::vector<UINT>{WM_WINDOWPOSCHANGING}));

    host::sim::ClearMessageLog();
    host::SetWindowPos(frame, nullptr, 0, 0, 320, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Sequence(frame), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE}));
    RECT client{};
    host::GetClientRect(frame, &client);
    const auto& size = host::sim::MessageLog().back();
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(size.lParam)), client.right);
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(size.lParam)), client.bottom);
}

TEST_F(SimWindows, FrameStyleChangesTakeEffectOnFrameChanged) {
    HWND frame = Make("SimPlain", WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 300, 200});
    RECT before{}, after{};
    host::GetClientRect(frame, &before);
    host::sim::ClearMessageLog();
    const LONG style = host::GetWindowLongA(frame, GWL_STYLE);
    host::SetWindowLongPtrW(frame, GWL_STYLE, style & ~static_cast<LONG>(WS_CAPTION));
    EXPECT_EQ(Sequence(frame), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    host::GetClientRect(frame, &after);
    EXPECT_EQ(after.bottom, before.bottom);  // the frame is recalculated only on SWP_FRAMECHANGED

    host::SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    host::GetClientRect(frame, &after);
    EXPECT_GT(after.bottom, before.bottom);
    EXPECT_FALSE(Sequence(frame, {WM_SIZE}).empty());
}

TEST_F(SimWindows, ShowingActivatesAndFocusesHidingPassesActivationOn) {
    HWND first = Make("SimPlain", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND second = Make("SimPlain", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(host::GetForegroundWindow(), first);
    EXPECT_EQ(host::GetFocus(), first);

    host::sim::ClearMessageLog();
    host::ShowWindow(second, SW_SHOW);
    EXPECT_EQ(host::GetForegroundWindow(), second);
    EXPECT_EQ(Sequence(first, {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}),
              (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}));
    EXPECT_EQ(Sequence(second, {WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED}));

    host::ShowWindow(second, SW_HIDE);
    EXPECT_EQ(host::GetForegroundWindow(), first);

    // Focusing a child of an inactive window activates that window first.
    HWND child = Make("SimPlain", WS_CHILD | WS_VISIBLE, second);
    host::ShowWindow(second, SW_SHOWNA);
    EXPECT_EQ(host::GetForegroundWindow(), first);
    EXPECT_NE(host::SetFocus(child), nullptr);
    EXPECT_EQ(host::GetForegroundWindow(), second);
    EXPECT_EQ(host::GetFocus(), child);
}

LRESULT CALLBACK NeverValidates(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) return 0;  // no BeginPaint: the window stays invalid
    return host::DefWindowProcA(h, m, w, l);
}

TEST_F(SimWindows, PaintGoesToVisibleInvalidWindowsUntilValidated) {
    Register("SimNoPaint", NeverValidates);
    HWND shown = Make("SimPlain", WS_POPUP | WS_VISIBLE);
    HWND hidden = Make("SimPlain", WS_POPUP);
    HWND stubborn = Make("SimNoPaint", WS_POPUP | WS_VISIBLE);
    host::InvalidateRect(hidden, nullptr, TRUE);
    host::sim::ClearMessageLog();

    host::sim::RunPending();
    EXPECT_EQ(Sequence(shown, {WM_PAINT}).size(), 1u);
    EXPECT_TRUE(Sequence(hidden, {WM_PAINT}).empty());
    EXPECT_EQ(Sequence(stubborn, {WM_PAINT}).size(), 1u);
    EXPECT_FALSE(host::sim::NeedsPaint(shown));
    EXPECT_TRUE(host::sim::NeedsPaint(stubborn));

    host::sim::RunPending();
    EXPECT_EQ(Sequence(shown, {WM_PAINT}).size(), 1u);  // validated by DefWindowProc
    EXPECT_EQ(Sequence(stubborn, {WM_PAINT}).size(), 2u);

    // RDW_UPDATENOW paints at once, without waiting for the loop.
    host::RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Sequence(shown, {WM_PAINT}).size(), 2u);
    EXPECT_FALSE(host::sim::MessageLog().back().posted);
}

TEST_F(SimWindows, EnumerationSeesZOrderAndSurvivesDestructionOnTheWay) {
    HWND frame = Make("SimPlain", WS_POPUP);
    HWND a = Make("SimPlain", WS_CHILD, frame);
    HWND b = Make("SimPlain", WS_CHILD, frame);
    HWND c = Make("SimPlain", WS_CHILD, frame);
    host::SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    struct Walk {
        std::vector<HWND> seen;
        HWND destroyOnVisit = nullptr;
        HWND victim = nullptr;
    } walk{{}, c, b};
    host::EnumChildWindows(
        frame,
        [](HWND h, LPARAM l) -> BOOL {
            auto* w = reinterpret_cast<Walk*>(l);
            w->seen.push_back(h);
            if (h == w->destroyOnVisit) host::DestroyWindow(w->victim);
            return TRUE;
        },
        Ptr(&walk));
    EXPECT_EQ(walk.seen, (std::vector<HWND>{c, a}));  // b was destroyed before its turn
}

}  // namespace
