// The window tree: finding windows, walking children, class names, styles,
// parents, visibility, rectangles and destruction order.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

class ConformanceWindowTree : public FrameFixture {};

TEST_F(ConformanceWindowTree, FindWindowMatchesClassCaseInsensitivelyAndTitleExactly) {
    HWND alpha = CreatePlain(WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 200, 100, "TwConf Alpha");
    HWND beta = CreatePlain(WS_OVERLAPPEDWINDOW, nullptr, 0, 0, 200, 100, "TwConf Beta");
    ASSERT_TRUE(alpha && beta);

    EXPECT_EQ(host::FindWindowA(kPlainClass, "TwConf Beta"), beta);
    EXPECT_EQ(host::FindWindowA("TWCONFPLAIN", "TwConf Alpha"), alpha);
    EXPECT_EQ(host::FindWindowA(nullptr, "TwConf Alpha"), alpha);  // hidden windows count
    EXPECT_EQ(host::FindWindowA(kPlainClass, "TwConf Gamma"), nullptr);
    EXPECT_EQ(host::FindWindowA("TwConfNoSuchClass", nullptr), nullptr);
}

TEST_F(ConformanceWindowTree, FindWindowExWalksDirectChildrenInCreationOrder) {
    HWND first = CreatePlain(WS_CHILD, frame, 0, 0, 10, 10, "First");
    HWND second = CreatePlain(WS_CHILD, frame, 0, 0, 10, 10, "Second");
    HWND third = CreatePlain(WS_CHILD, frame, 0, 0, 10, 10, "Third");
    HWND grandchild = CreatePlain(WS_CHILD, second, 0, 0, 5, 5, "Grandchild");
    ASSERT_TRUE(first && second && third && grandchild);

    EXPECT_EQ(host::FindWindowExA(frame, nullptr, kPlainClass, nullptr), first);
    EXPECT_EQ(host::FindWindowExA(frame, first, kPlainClass, nullptr), second);
    EXPECT_EQ(host::FindWindowExA(frame, second, kPlainClass, nullptr), third);
    EXPECT_EQ(host::FindWindowExA(frame, third, kPlainClass, nullptr), nullptr);
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, nullptr, "Third"), third);
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, nullptr, "Grandchild"), nullptr);
    EXPECT_EQ(host::FindWindowExA(second, nullptr, nullptr, nullptr), grandchild);
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, "Edit", nullptr), nullptr);
}

struct Visit {
    std::vector<HWND> seen;
    std::size_t stopAfter;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    auto* visit = reinterpret_cast<Visit*>(lParam);
    visit->seen.push_back(hwnd);
    return visit->seen.size() < visit->stopAfter ? TRUE : FALSE;
}

// The windows EnumChildWindows visits under `root`, the callback asking to stop after `stopAfter`.
std::vector<HWND> Enumerate(HWND root, std::size_t stopAfter = 1000) {
    Visit visit{{}, stopAfter};
    host::EnumChildWindows(root, CollectChild, Ptr(&visit));
    return visit.seen;
}

TEST_F(ConformanceWindowTree, EnumChildWindowsGoesDepthFirstAndStopsWhenAsked) {
    HWND a = CreatePlain(WS_CHILD, frame);
    HWND a1 = CreatePlain(WS_CHILD, a);
    HWND a2 = CreatePlain(WS_CHILD, a);
    HWND b = CreatePlain(WS_CHILD, frame);
    HWND b1 = CreatePlain(WS_CHILD, b);

    EXPECT_EQ(Enumerate(frame), (std::vector<HWND>{a, a1, a2, b, b1}));
    EXPECT_EQ(Enumerate(frame, 2), (std::vector<HWND>{a, a1}));
    EXPECT_TRUE(Enumerate(a1).empty());
}

TEST_F(ConformanceWindowTree, ClassNamesComeBackAsRegisteredAndTruncateToTheBuffer) {
    // Created with other capitalisations, reported as registered.
    HWND plain = Create("TWCONFPLAIN", WS_CHILD, frame, 0, 0, 10, 10);
    HWND edit = Create("edit", WS_CHILD, frame, 0, 0, 10, 10);
    ASSERT_TRUE(plain && edit);
    EXPECT_EQ(ClassOf(plain), kPlainClass);
    EXPECT_EQ(ClassOf(edit), "Edit");

    for (const char* cls : {"SysTabControl32", "msctls_statusbar32", "ToolbarWindow32",
                            "ReBarWindow32", "ComboBox", "Edit"}) {
        HWND control = Create(cls, WS_CHILD, frame, 0, 0, 100, 30);
        ASSERT_NE(control, nullptr) << cls;
        EXPECT_EQ(ClassOf(control), cls);
    }

    char small[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(host::GetClassNameA(plain, small, 5), 4);
    EXPECT_STREQ(small, "TwCo");

    host::DestroyWindow(plain);
    EXPECT_EQ(host::GetClassNameA(plain, small, 5), 0);
}

TEST_F(ConformanceWindowTree, StylesIdsAndUserDataAreKeptAndSwappedWithTheOldValue) {
    HWND child =
        host::CreateWindowExA(WS_EX_CLIENTEDGE, kPlainClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                              50, 50, frame, reinterpret_cast<HMENU>(42), nullptr, nullptr);
    ASSERT_NE(child, nullptr);

    const DWORD style = static_cast<DWORD>(host::GetWindowLongA(child, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS), WS_CHILD | WS_CLIPSIBLINGS);
    EXPECT_EQ(style & WS_VISIBLE, 0u);
    EXPECT_NE(static_cast<DWORD>(host::GetWindowLongA(child, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(host::GetWindowLongPtrW(child, GWLP_ID), 42);

    LONG_PTR old =
        host::SetWindowLongPtrW(child, GWL_STYLE, static_cast<LONG_PTR>(style | WS_DISABLED));
    EXPECT_EQ(static_cast<DWORD>(old), style);
    EXPECT_NE(static_cast<DWORD>(host::GetWindowLongA(child, GWL_STYLE)) & WS_DISABLED, 0u);

    EXPECT_EQ(host::GetWindowLongPtrW(child, GWLP_USERDATA), 0);
    EXPECT_EQ(host::SetWindowLongPtrW(child, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(host::SetWindowLongPtrW(child, GWLP_USERDATA, 5678), 1234);
    EXPECT_EQ(host::GetWindowLongPtrW(child, GWLP_USERDATA), 5678);
}

TEST_F(ConformanceWindowTree, ReparentingMovesTheChildAndGetParentReportsOwnersOfPopups) {
    HWND second = CreatePlain(WS_POPUP, nullptr, 300, 40, 200, 200);
    HWND child = CreatePlain(WS_CHILD | WS_VISIBLE, frame, 10, 20, 50, 50);
    HWND popup = CreatePlain(WS_POPUP, frame);
    ASSERT_TRUE(frame && second && child && popup);

    EXPECT_EQ(host::GetParent(child), frame);
    EXPECT_EQ(host::GetParent(frame), nullptr);
    EXPECT_EQ(host::GetParent(popup), frame);  // the owner, for a pop-up

    EXPECT_EQ(host::SetParent(child, second), frame);
    EXPECT_EQ(host::GetParent(child), second);
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, kPlainClass, nullptr), nullptr);
    EXPECT_EQ(host::FindWindowExA(second, nullptr, kPlainClass, nullptr), child);
    // The position stays relative to the parent, and the child stays shown.
    const RECT rc = WindowRectOf(child);
    EXPECT_EQ(rc.left, 310);
    EXPECT_EQ(rc.top, 60);
    EXPECT_NE(static_cast<DWORD>(host::GetWindowLongA(child, GWL_STYLE)) & WS_VISIBLE, 0u);

    // A top-level window's old parent is the desktop, a real handle; a window
    // cannot go below its own child.
    HWND top = CreatePlain(WS_POPUP);
    EXPECT_NE(host::SetParent(top, second), nullptr);
    EXPECT_EQ(host::SetParent(second, top), nullptr);

    // Destroying a window takes its children and its owned pop-ups with it.
    HWND grandchild = CreatePlain(WS_CHILD, child);
    EXPECT_TRUE(host::DestroyWindow(second));
    EXPECT_FALSE(host::IsWindow(child));
    EXPECT_FALSE(host::IsWindow(grandchild));
    EXPECT_TRUE(host::DestroyWindow(frame));
    EXPECT_FALSE(host::IsWindow(popup));
    EXPECT_FALSE(host::DestroyWindow(frame));
}

TEST_F(ConformanceWindowTree, DestroyNotifiesParentsFirstAndFreesChildrenFirst) {
    HWND child = CreatePlain(WS_CHILD, frame);
    Log().clear();
    host::DestroyWindow(frame);

    EXPECT_EQ(OrderOf({WM_DESTROY, WM_NCDESTROY}),
              (Order{{frame, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {frame, WM_NCDESTROY}}));
}

TEST_F(ConformanceWindowTree, VisibilityNeedsEveryAncestorVisible) {
    HWND child = CreatePlain(WS_CHILD | WS_VISIBLE, frame);
    HWND grandchild = CreatePlain(WS_CHILD | WS_VISIBLE, child);

    EXPECT_FALSE(host::IsWindowVisible(child));  // its frame is hidden
    EXPECT_NE(static_cast<DWORD>(host::GetWindowLongA(child, GWL_STYLE)) & WS_VISIBLE, 0u);

    EXPECT_FALSE(host::ShowWindow(frame, SW_SHOWNOACTIVATE));  // was hidden
    EXPECT_TRUE(host::IsWindowVisible(child));
    EXPECT_TRUE(host::IsWindowVisible(grandchild));

    EXPECT_TRUE(host::ShowWindow(child, SW_HIDE));  // was visible
    EXPECT_FALSE(host::IsWindowVisible(child));
    EXPECT_FALSE(host::IsWindowVisible(grandchild));
    EXPECT_TRUE(host::IsWindowVisible(frame));

    const UINT showOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    host::SetWindowPos(child, nullptr, 0, 0, 0, 0, showOnly | SWP_SHOWWINDOW);
    EXPECT_TRUE(host::IsWindowVisible(grandchild));
    host::SetWindowPos(child, nullptr, 0, 0, 0, 0, showOnly | SWP_HIDEWINDOW);
    EXPECT_FALSE(host::IsWindowVisible(child));
}

TEST_F(ConformanceWindowTree, RectanglesAndCoordinateMappingAgree) {
    // A pop-up without border: its client area is its whole window.
    HWND popup = CreatePlain(WS_POPUP, nullptr, 100, 50, 400, 300);
    HWND child = CreatePlain(WS_CHILD, popup, 10, 20, 50, 60);
    EXPECT_EQ(EdgesOf(ClientRectOf(popup)), (Edges{0, 0, 400, 300}));
    EXPECT_EQ(EdgesOf(WindowRectOf(child)), (Edges{110, 70, 160, 130}));

    POINT p{110, 70};
    ASSERT_TRUE(host::ScreenToClient(popup, &p));
    EXPECT_EQ(XY(p), (std::array<long, 2>{10, 20}));
    p = {0, 0};
    ASSERT_TRUE(host::ClientToScreen(child, &p));
    EXPECT_EQ(XY(p), (std::array<long, 2>{110, 70}));

    EXPECT_TRUE(host::MoveWindow(child, 30, 40, 70, 80, TRUE));
    RECT rc = WindowRectOf(child);
    EXPECT_EQ(rc.left, 130);
    EXPECT_EQ(rc.bottom - rc.top, 80);

    EXPECT_TRUE(host::SetWindowPos(child, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    rc = WindowRectOf(child);
    EXPECT_EQ(rc.left, 105);
    EXPECT_EQ(rc.top, 56);
    EXPECT_EQ(rc.right - rc.left, 70);

    EXPECT_FALSE(host::GetWindowRect(nullptr, &rc));
}

TEST_F(ConformanceWindowTree, AFramedWindowsClientAreaLiesInsideItsWindowRect) {
    HWND framed = CreatePlain(WS_OVERLAPPEDWINDOW, nullptr, 50, 50, 400, 300);
    const RECT window = WindowRectOf(framed);
    const RECT client = ClientRectOf(framed);
    POINT origin{0, 0};
    host::ClientToScreen(framed, &origin);

    EXPECT_EQ(window.right - window.left, 400);
    EXPECT_LT(client.right, 400);
    EXPECT_LT(client.bottom, 300);
    EXPECT_GT(origin.x, window.left);
    EXPECT_GT(origin.y, window.top);  // below the caption
    EXPECT_LE(origin.x + client.right, window.right);
    EXPECT_LE(origin.y + client.bottom, window.bottom);
}

TEST_F(ConformanceWindowTree, PlacementKeepsTheNormalRectWhileMaximised) {
    HWND framed = CreatePlain(WS_OVERLAPPEDWINDOW, nullptr, 60, 70, 320, 240);
    host::ShowWindow(framed, SW_SHOWNORMAL);
    const RECT normal = WindowRectOf(framed);

    host::ShowWindow(framed, SW_MAXIMIZE);
    WINDOWPLACEMENT wp{.length = sizeof(WINDOWPLACEMENT)};
    ASSERT_TRUE(host::GetWindowPlacement(framed, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, normal.left);
    EXPECT_EQ(wp.rcNormalPosition.right, normal.right);

    host::ShowWindow(framed, SW_RESTORE);
    const RECT restored = WindowRectOf(framed);
    EXPECT_EQ(restored.left, normal.left);
    EXPECT_EQ(restored.bottom, normal.bottom);
    ASSERT_TRUE(host::GetWindowPlacement(framed, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
}

TEST_F(ConformanceWindowTree, ValidatedWindowGetsNoPaintUntilInvalidatedAgain) {
    HWND popup = CreatePlain(WS_POPUP | WS_VISIBLE, nullptr, 0, 0, 100, 100);
    testsupport::PumpFor(50);  // the first paint
    Log().clear();

    host::InvalidateRect(popup, nullptr, FALSE);
    EXPECT_TRUE(host::ValidateWindow(popup));
    testsupport::PumpFor(50);
    EXPECT_TRUE(SequenceOf(popup, {WM_PAINT}).empty());

    host::InvalidateRect(popup, nullptr, FALSE);
    testsupport::PumpFor(50);
    EXPECT_FALSE(SequenceOf(popup, {WM_PAINT}).empty());

    host::DestroyWindow(popup);
    EXPECT_FALSE(host::ValidateWindow(popup));
}

}  // namespace
