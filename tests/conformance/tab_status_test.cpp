// The tab control and the status bar, as far as the plugin talks to them.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

class ConformanceTabControl : public Fixture {
protected:
    void SetUp() override { ASSERT_NE(tabs, nullptr); }
    LRESULT Insert(int index, const char* text, LPARAM param = 0) {
        TCITEMA item{.mask = TCIF_TEXT | TCIF_PARAM, .pszText = const_cast<char*>(text), .lParam = param};
        return host::SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index), Ptr(&item));
    }
    std::string TextAt(int index) {
        char buffer[64] = {};
        TCITEMA item{.mask = TCIF_TEXT, .pszText = buffer, .cchTextMax = sizeof(buffer)};
        if (!host::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), Ptr(&item)))
            return "<none>";
        return item.pszText;
    }
    LRESULT Count() { return host::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0); }
    LRESULT Selected() { return host::SendMessageA(tabs, TCM_GETCURSEL, 0, 0); }

    HWND frame = CreateFrame(600, 300);
    HWND tabs = Create("SysTabControl32", WS_CHILD | WS_VISIBLE | TCS_TOOLTIPS, frame, 0, 0, 600, 30);
};

TEST_F(ConformanceTabControl, InsertReturnsTheIndexAndShiftsLaterTabs) {
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(Insert(0, "One"), 0);
    EXPECT_EQ(Insert(9, "Two"), 1);  // past the end: appended
    EXPECT_EQ(Insert(0, "Zero"), 0);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ((std::vector<std::string>{TextAt(0), TextAt(1), TextAt(2), TextAt(3)}),
              (std::vector<std::string>{"Zero", "One", "Two", "<none>"}));

    EXPECT_TRUE(host::SendMessageA(tabs, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(TextAt(0), "One");
    EXPECT_FALSE(host::SendMessageA(tabs, TCM_DELETEITEM, 5, 0));
}

TEST_F(ConformanceTabControl, SetCurSelAnswersThePreviousSelection) {
    Insert(0, "A");
    Insert(1, "B");
    Insert(2, "C");
    const LRESULT first = Selected();
    EXPECT_EQ(host::SendMessageA(tabs, TCM_SETCURSEL, 2, 0), first);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(host::SendMessageA(tabs, TCM_SETCURSEL, 1, 0), 2);
    EXPECT_EQ(host::SendMessageA(tabs, TCM_SETCURSEL, 7, 0), -1);  // out of range: refused
    EXPECT_EQ(Selected(), 1);
}

TEST_F(ConformanceTabControl, ItemImageAndParamRoundTrip) {
    Insert(0, "A", 1111);
    Insert(1, "B", 2222);
    TCITEMA set{.mask = TCIF_IMAGE, .iImage = 3};
    EXPECT_TRUE(host::SendMessageA(tabs, TCM_SETITEMA, 1, Ptr(&set)));

    TCITEMA get{.mask = TCIF_IMAGE | TCIF_PARAM, .iImage = -7};
    ASSERT_TRUE(host::SendMessageA(tabs, TCM_GETITEMA, 1, Ptr(&get)));
    EXPECT_EQ(get.iImage, 3);
    EXPECT_EQ(get.lParam, 2222);
    EXPECT_EQ(TextAt(1), "B");  // an image change keeps the text

    EXPECT_FALSE(host::SendMessageA(tabs, TCM_SETITEMA, 5, Ptr(&set)));
}

TEST_F(ConformanceTabControl, ItemRectsRunLeftToRightAndHitTestFindsThem) {
    Insert(0, "First tab");
    Insert(1, "Second tab");
    RECT r0{}, r1{};
    ASSERT_TRUE(host::SendMessageA(tabs, TCM_GETITEMRECT, 0, Ptr(&r0)));
    ASSERT_TRUE(host::SendMessageA(tabs, TCM_GETITEMRECT, 1, Ptr(&r1)));
    EXPECT_LT(r0.left, r0.right);
    EXPECT_LE(r0.right, r1.left + 2);  // neighbours may share their border
    EXPECT_LT(r1.left, r1.right);
    EXPECT_FALSE(host::SendMessageA(tabs, TCM_GETITEMRECT, 2, Ptr(&r0)));

    TCHITTESTINFO hit{.pt = {(r1.left + r1.right) / 2, (r1.top + r1.bottom) / 2}};
    EXPECT_EQ(host::SendMessageA(tabs, TCM_HITTEST, 0, Ptr(&hit)), 1);
    EXPECT_NE(hit.flags & TCHT_ONITEM, 0u);
    hit.pt = {590, (r1.top + r1.bottom) / 2};
    EXPECT_EQ(host::SendMessageA(tabs, TCM_HITTEST, 0, Ptr(&hit)), -1);
    EXPECT_EQ(hit.flags, TCHT_NOWHERE);
}

TEST_F(ConformanceTabControl, TooltipsExistOnlyWithTheTooltipStyle) {
    HWND tip = reinterpret_cast<HWND>(host::SendMessageA(tabs, TCM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ClassOf(tip), "tooltips_class32");

    HWND plainTabs = Create("SysTabControl32", WS_CHILD, frame, 0, 40, 600, 30);
    EXPECT_EQ(host::SendMessageA(plainTabs, TCM_GETTOOLTIPS, 0, 0), 0);
}

class ConformanceStatusBar : public FrameFixture {
protected:
    void SetUp() override { ASSERT_NE(bar, nullptr); }
    std::string TextOfPart(int part, LRESULT* answer = nullptr) {
        char buffer[128] = {};
        LRESULT r = host::SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), Ptr(buffer));
        if (answer) *answer = r;
        return buffer;
    }
    HWND bar = Create("msctls_statusbar32", WS_CHILD | WS_VISIBLE, frame, 0, 0, 0, 0);
};

TEST_F(ConformanceStatusBar, SitsAlongTheBottomOfItsParent) {
    const RECT parent = ClientRectOf(frame);
    const RECT self = WindowRectOf(bar);
    POINT bottomRight{self.right, self.bottom};
    host::ScreenToClient(frame, &bottomRight);
    EXPECT_EQ(XY(bottomRight), (std::array<long, 2>{parent.right, parent.bottom}));
    EXPECT_GT(self.bottom - self.top, 0);
    EXPECT_LT(self.bottom - self.top, parent.bottom);
}

TEST_F(ConformanceStatusBar, PartsAreStoredAndCountedAsGiven) {
    int parts[3] = {100, 200, -1};
    EXPECT_TRUE(host::SendMessageA(bar, SB_SETPARTS, 3, Ptr(parts)));
    EXPECT_EQ(host::SendMessageA(bar, SB_GETPARTS, 0, 0), 3);

    std::array<int, 3> read{0, 0, 0};
    EXPECT_EQ(host::SendMessageA(bar, SB_GETPARTS, 3, Ptr(read.data())), 3);
    EXPECT_EQ(read, (std::array<int, 3>{100, 200, -1}));

    std::array<int, 3> two{0, 0, 55};
    EXPECT_EQ(host::SendMessageA(bar, SB_GETPARTS, 2, Ptr(two.data())), 3);  // fills only what fits
    EXPECT_EQ(std::make_pair(two[1], two[2]), std::make_pair(200, 55));
}

TEST_F(ConformanceStatusBar, TextsBelongToTheirPartAndReportTheirLength) {
    int parts[3] = {100, 200, -1};
    host::SendMessageA(bar, SB_SETPARTS, 3, Ptr(parts));
    EXPECT_TRUE(host::SendMessageA(bar, SB_SETTEXTA, 1, Ptr("Ready")));
    LRESULT answer = 0;
    EXPECT_EQ(TextOfPart(1, &answer), "Ready");
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(answer)), 5);
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(host::SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0))),
              5);
    EXPECT_EQ(TextOfPart(0), "");
    EXPECT_EQ(TextOfPart(2), "");

    EXPECT_TRUE(host::SendMessageA(bar, SB_SETTEXTA, 2, Ptr("Internet")));
    EXPECT_EQ(TextOfPart(2), "Internet");
    EXPECT_EQ(TextOfPart(1), "Ready");
}

TEST_F(ConformanceStatusBar, PartRectsFollowTheRightEdgesInOrder) {
    int parts[3] = {100, 200, -1};
    host::SendMessageA(bar, SB_SETPARTS, 3, Ptr(parts));
    const RECT client = ClientRectOf(bar);
    // Where each part's right edge may lie: above the first number, up to the second. The last
    // part runs to the right edge.
    const long rightEdge[3][2] = {{90, 100}, {190, 200}, {300, client.right}};
    RECT r[3]{};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(host::SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(i), Ptr(&r[i])));
        EXPECT_GT(r[i].right, rightEdge[i][0]);
        EXPECT_LE(r[i].right, rightEdge[i][1]);
        if (i > 0) EXPECT_GE(r[i].left, r[i - 1].right);
        EXPECT_EQ(r[i].top, r[0].top);
        EXPECT_EQ(r[i].bottom, r[0].bottom);
        EXPECT_GE(r[i].top, client.top);
        EXPECT_LE(r[i].bottom, client.bottom);
    }
    RECT none{};
    EXPECT_FALSE(host::SendMessageA(bar, SB_GETRECT, 3, Ptr(&none)));
}

}  // namespace
