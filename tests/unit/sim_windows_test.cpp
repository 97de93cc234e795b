// The sim's window tree, window procedures and the messages that window
// operations send, checked where Win32's rules are easy to get wrong.
#include <stdexcept>

#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

// ---- subclass chains across character sets ------------------------------------

std::string ansiSetText;  // what the ANSI class procedure saw in WM_SETTEXT
std::u16string layerSaw[3];
WNDPROC previous[3];

LRESULT CALLBACK AnsiOriginal(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTEXT && l) ansiSetText = reinterpret_cast<const char*>(l);
    return host::DefWindowProcA(h, m, w, l);
}

template <int N>
LRESULT CALLBACK WideLayer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTEXT && l) layerSaw[N] = reinterpret_cast<const char16_t*>(l);
    if (m == WM_USER + 7) throw std::runtime_error("layer failure");
    return host::CallWindowProcW(previous[N], h, m, w, l);
}

class SimSubclass : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ansiSetText.clear();
        for (auto& s : layerSaw) s.clear();
        Register("SimAnsiClass", AnsiOriginal);
        hwnd = Make("SimAnsiClass", WS_POPUP, nullptr, {0, 0, 50, 50}, "Start");
        ASSERT_NE(hwnd, nullptr);
    }
    void Install(int n, WNDPROC proc) {
        previous[n] = reinterpret_cast<WNDPROC>(host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    }
    HWND hwnd = nullptr;
};

TEST_F(SimSubclass, UnicodeLayersSeeUtf16AndTheAnsiClassProcedureAnsi) {
    Install(0, WideLayer<0>);
    Install(1, WideLayer<1>);
    Install(2, WideLayer<2>);
    // The ANSI class procedure is reachable only through a handle, never its own address.
    EXPECT_NE(previous[0], &AnsiOriginal);
    EXPECT_EQ(previous[1], &WideLayer<0>);

    ASSERT_TRUE(host::SetWindowTextA(hwnd, "Caf\xE9"));
    for (const auto& seen : layerSaw) EXPECT_EQ(seen, u"Caf\u00E9");
    EXPECT_EQ(ansiSetText, "Caf\xE9");
    EXPECT_EQ(Text(hwnd), "Caf\xE9");  // WM_GETTEXT down the chain and back as ANSI

    // A Unicode caller that reaches the ANSI procedure through CallWindowProcW gets UTF-16 back.
    char16_t wide[8] = {};
    EXPECT_EQ(host::CallWindowProcW(previous[0], hwnd, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(wide)), 4);
    EXPECT_EQ(std::u16string(wide), u"Caf\u00E9");
}

TEST_F(SimSubclass, PuttingBackTheHandleMakesTheWindowAnsiAgain) {
    Install(0, WideLayer<0>);
    Install(1, WideLayer<1>);
    // Out of order: layer 0 restores the class procedure while layer 1 is on top.
    EXPECT_EQ(host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous[0])),
              reinterpret_cast<LONG_PTR>(&WideLayer<1>));
    EXPECT_EQ(host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(previous[0]));

    // A Unicode sender now reaches the ANSI procedure directly, converted once.
    host::SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"wide"));
    EXPECT_EQ(ansiSetText, "wide");
    EXPECT_TRUE(layerSaw[0].empty());
    EXPECT_TRUE(layerSaw[1].empty());
}

TEST_F(SimSubclass, AThrowingLayerAnswersZeroAndTheWindowLivesOn) {
    Install(0, WideLayer<0>);
    EXPECT_EQ(host::SendMessageA(hwnd, WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 1);
    expectedSwallowed = 1;
    EXPECT_TRUE(host::SetWindowTextA(hwnd, "after"));
    EXPECT_EQ(ansiSetText, "after");
}

LRESULT CALLBACK EditLayer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTEXT && l) layerSaw[0] = reinterpret_cast<const char16_t*>(l);
    return host::CallWindowProcW(previous[0], h, m, w, l);
}

TEST_F(SimSubclass, ABuiltInControlHandsOutItsUnicodeProcedure) {
    HWND frame = Make("SimAnsiClass", WS_POPUP);
    HWND edit = Make("Edit", WS_CHILD, frame, {0, 0, 80, 20}, "x");
    previous[0] = reinterpret_cast<WNDPROC>(host::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditLayer)));
    // A control with both procedures gives its Unicode one, not a handle.
    EXPECT_LT(reinterpret_cast<std::uintptr_t>(previous[0]) & 0xFFFF0000u, 0xFFFF0000u);
    host::SetWindowTextA(edit, "typed");
    EXPECT_EQ(layerSaw[0], u"typed");
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

LRESULT CALLBACK ClampsWidth(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_WINDOWPOSCHANGING) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(l);
        if (!(pos->flags & SWP_NOSIZE) && pos->cx > 100) pos->cx = 100;
    }
    if (m == WM_WINDOWPOSCHANGED) return 0;  // handled: DefWindowProc sends no WM_SIZE
    return host::DefWindowProcA(h, m, w, l);
}

TEST_F(SimWindows, WindowPosChangingCanAlterTheMove) {
    Register("SimClamps", ClampsWidth);
    HWND w = Make("SimClamps", WS_POPUP, nullptr, {0, 0, 50, 50});
    host::sim::ClearMessageLog();
    host::MoveWindow(w, 0, 0, 400, 50, TRUE);
    RECT r{};
    host::GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_TRUE(Sequence(w, {WM_SIZE}).empty());
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

TEST_F(SimWindows, SetParentKeepsThePositionRelativeToTheParent) {
    HWND left = Make("SimPlain", WS_POPUP, nullptr, {0, 0, 200, 200});
    HWND right = Make("SimPlain", WS_POPUP, nullptr, {500, 100, 700, 300});
    HWND child = Make("SimPlain", WS_CHILD | WS_VISIBLE, left, {10, 20, 30, 40});
    HWND top = Make("SimPlain", WS_POPUP, nullptr, {0, 0, 10, 10});

    EXPECT_EQ(host::SetParent(child, right), left);
    RECT r{};
    host::GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 510);
    EXPECT_EQ(r.top, 120);
    EXPECT_NE(host::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE, 0);  // shown again after the move

    // A top-level window's old parent is the desktop: a real handle, not null.
    HWND desktop = host::SetParent(top, right);
    EXPECT_NE(desktop, nullptr);
    EXPECT_EQ(host::SetParent(right, top), nullptr);  // a window cannot go below its own child
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
