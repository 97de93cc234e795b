// What moving, sizing, showing and focusing tell a window, and what a
// procedure can change on the way: the hooks the plugin's bar features use.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

// Rewrites every move to keep a fixed height, the way a bar that must stay
// collapsed answers WM_WINDOWPOSCHANGING.
int forcedHeight = -1;
// Answers WM_WINDOWPOSCHANGED itself instead of leaving it to DefWindowProc.
bool handlesChanged = false;

LRESULT CALLBACK PositionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back({hwnd, msg, wParam, lParam, 'W'});
    if (msg == WM_WINDOWPOSCHANGING && forcedHeight >= 0) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE)) pos->cy = forcedHeight;
    }
    if (msg == WM_WINDOWPOSCHANGED && handlesChanged) return 0;
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

class ConformanceWindowMessages : public FrameFixture {
protected:
    void SetUp() override {
        forcedHeight = -1;
        handlesChanged = false;
        child = Create(EnsureClass("TwConfPosition", PositionProc), WS_CHILD | WS_VISIBLE, frame, 0, 0, 100, 40);
        ASSERT_NE(child, nullptr);
        Log().clear();
    }
    HWND child = nullptr;
};

TEST_F(ConformanceWindowMessages, ResizeAnnouncesChangingThenChangedThenSize) {
    host::MoveWindow(child, 10, 10, 120, 50, TRUE);
    EXPECT_EQ(SequenceOf(child, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE}));
    for (const auto& s : Log()) {
        if (s.msg == WM_SIZE) {
            EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(s.lParam)), 120);
            EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(s.lParam)), 50);
        }
    }

    Log().clear();
    host::SetWindowPos(child, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(SequenceOf(child, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));  // no size change
}

TEST_F(ConformanceWindowMessages, ChangingCanRewriteTheNewPosition) {
    forcedHeight = 0;
    host::MoveWindow(child, 0, 0, 150, 60, TRUE);
    const RECT rc = WindowRectOf(child);
    EXPECT_EQ(rc.right - rc.left, 150);
    EXPECT_EQ(rc.bottom - rc.top, 0);
    EXPECT_EQ(ClientRectOf(child).bottom, 0);
}

TEST_F(ConformanceWindowMessages, SizeAndMoveComeFromTheDefaultHandlingOfChanged) {
    handlesChanged = true;
    host::MoveWindow(child, 10, 10, 150, 60, TRUE);
    EXPECT_EQ(SequenceOf(child, {WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGED}));
    const RECT rc = WindowRectOf(child);
    EXPECT_EQ(rc.right - rc.left, 150);  // the change itself happened
}

TEST_F(ConformanceWindowMessages, ShowWindowAnnouncesTheChangeOnlyWhenThereIsOne) {
    host::ShowWindow(child, SW_HIDE);
    ASSERT_EQ(SequenceOf(child, {WM_SHOWWINDOW}).size(), 1u);
    for (const auto& s : Log()) {
        if (s.msg == WM_SHOWWINDOW) EXPECT_EQ(s.wParam, static_cast<WPARAM>(FALSE));
    }
    Log().clear();
    host::ShowWindow(child, SW_HIDE);  // already hidden
    EXPECT_TRUE(SequenceOf(child, {WM_SHOWWINDOW}).empty());
    host::ShowWindow(child, SW_SHOWNA);
    ASSERT_EQ(SequenceOf(child, {WM_SHOWWINDOW}).size(), 1u);
    EXPECT_NE(static_cast<DWORD>(host::GetWindowLongA(child, GWL_STYLE)) & WS_VISIBLE, 0u);
}

TEST_F(ConformanceWindowMessages, ZOrderMovesChildrenAndTopmostMarksTheStyle) {
    HWND second = CreatePlain(WS_CHILD, frame);
    HWND third = CreatePlain(WS_CHILD, frame);
    const UINT zOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    host::SetWindowPos(third, HWND_TOP, 0, 0, 0, 0, zOrderOnly);
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, nullptr, nullptr), third);
    host::SetWindowPos(third, HWND_BOTTOM, 0, 0, 0, 0, zOrderOnly);
    EXPECT_EQ(host::FindWindowExA(frame, second, nullptr, nullptr), third);
    EXPECT_EQ(host::FindWindowExA(frame, third, nullptr, nullptr), nullptr);

    auto exStyle = [&] { return static_cast<DWORD>(host::GetWindowLongA(frame, GWL_EXSTYLE)); };
    EXPECT_EQ(exStyle() & WS_EX_TOPMOST, 0u);
    EXPECT_TRUE(host::SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly));
    EXPECT_NE(exStyle() & WS_EX_TOPMOST, 0u);
    EXPECT_TRUE(host::SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, zOrderOnly));
    EXPECT_EQ(exStyle() & WS_EX_TOPMOST, 0u);
}

TEST_F(ConformanceWindowMessages, FocusMovesBetweenChildrenWithKillThenSet) {
    HWND other = Create("TwConfPosition", WS_CHILD | WS_VISIBLE, frame, 0, 50, 100, 40);
    host::ShowWindow(frame, SW_SHOW);
    host::SetForegroundWindow(frame);
    host::SetFocus(child);
    ASSERT_EQ(host::GetFocus(), child);

    Log().clear();
    EXPECT_EQ(host::SetFocus(other), child);
    EXPECT_EQ(host::GetFocus(), other);
    EXPECT_EQ(OrderOf({WM_KILLFOCUS, WM_SETFOCUS}), (Order{{child, WM_KILLFOCUS}, {other, WM_SETFOCUS}}));
}

TEST_F(ConformanceWindowMessages, HotKeysAreOwnedOnceAndReleasedOnce) {
    EXPECT_TRUE(host::RegisterHotKey(frame, 1, MOD_CONTROL | MOD_ALT, VK_F12));
    EXPECT_FALSE(host::RegisterHotKey(frame, 2, MOD_CONTROL | MOD_ALT, VK_F12));  // same keys
    EXPECT_TRUE(host::UnregisterHotKey(frame, 1));
    EXPECT_FALSE(host::UnregisterHotKey(frame, 1));
    EXPECT_TRUE(host::RegisterHotKey(frame, 2, MOD_CONTROL | MOD_ALT, VK_F12));
    EXPECT_TRUE(host::UnregisterHotKey(frame, 2));
}

}  // namespace
