// Toolbars and rebars: buttons by index and command, hidden buttons and
// bands, band ids.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

class ConformanceToolbar : public FrameFixture {
protected:
    void SetUp() override {
        ASSERT_NE(toolbar, nullptr);
        host::SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON buttons[3]{};
        for (int i = 0; i < 3; ++i)
            buttons[i] = {.iBitmap = i, .idCommand = 11 + i, .fsState = TBSTATE_ENABLED, .iString = -1};
        ASSERT_TRUE(host::SendMessageA(toolbar, TB_ADDBUTTONSA, 3, Ptr(buttons)));
    }
    LRESULT IndexOf(int command) {
        return host::SendMessageA(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
    }
    LRESULT StateOf(int command) {
        return host::SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(command), 0);
    }

    HWND toolbar = Create("ToolbarWindow32", WS_CHILD | WS_VISIBLE, frame, 0, 0, 400, 30);
};

TEST_F(ConformanceToolbar, ButtonsAreFoundByIndexAndByCommand) {
    EXPECT_EQ(host::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3);
    TBBUTTON b{};
    ASSERT_TRUE(host::SendMessageA(toolbar, TB_GETBUTTON, 1, Ptr(&b)));
    EXPECT_EQ(std::make_pair(b.idCommand, b.iBitmap), std::make_pair(12, 1));
    EXPECT_FALSE(host::SendMessageA(toolbar, TB_GETBUTTON, 3, Ptr(&b)));

    EXPECT_EQ(IndexOf(13), 2);
    EXPECT_EQ(IndexOf(99), -1);

    EXPECT_TRUE(host::SendMessageA(toolbar, TB_DELETEBUTTON, 0, 0));
    EXPECT_EQ(host::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(IndexOf(13), 1);
    EXPECT_EQ(IndexOf(11), -1);
}

TEST_F(ConformanceToolbar, HiddenAndOtherStatesShowInTheStateBits) {
    EXPECT_EQ(host::SendMessageA(toolbar, TB_ISBUTTONHIDDEN, 12, 0), 0);
    EXPECT_TRUE(host::SendMessageA(toolbar, TB_HIDEBUTTON, 12, TRUE));
    EXPECT_NE(host::SendMessageA(toolbar, TB_ISBUTTONHIDDEN, 12, 0), 0);
    EXPECT_NE(StateOf(12) & TBSTATE_HIDDEN, 0);
    EXPECT_EQ(host::SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3);  // hidden, not removed
    EXPECT_TRUE(host::SendMessageA(toolbar, TB_HIDEBUTTON, 12, FALSE));
    EXPECT_EQ(StateOf(12) & TBSTATE_HIDDEN, 0);

    EXPECT_TRUE(host::SendMessageA(toolbar, TB_SETSTATE, 11, TBSTATE_ENABLED | TBSTATE_CHECKED));
    EXPECT_EQ(StateOf(11), TBSTATE_ENABLED | TBSTATE_CHECKED);
    EXPECT_TRUE(host::SendMessageA(toolbar, TB_ENABLEBUTTON, 13, FALSE));
    EXPECT_EQ(StateOf(13) & TBSTATE_ENABLED, 0);

    EXPECT_EQ(StateOf(99), -1);
    EXPECT_FALSE(host::SendMessageA(toolbar, TB_HIDEBUTTON, 99, TRUE));
}

class ConformanceRebar : public FrameFixture {
protected:
    void SetUp() override { ASSERT_NE(rebar, nullptr); }
    bool InsertBand(int index, UINT id, HWND child = nullptr) {
        const UINT childMask = child ? RBBIM_CHILD | RBBIM_CHILDSIZE : 0u;
        REBARBANDINFOA band{.cbSize = sizeof(REBARBANDINFOA), .fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_SIZE | childMask,
                            .hwndChild = child, .cxMinChild = 50, .cyMinChild = 20, .cx = 150, .wID = id};
        return host::SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(index), Ptr(&band)) !=
               0;
    }
    LRESULT IndexOf(UINT id) { return host::SendMessageA(rebar, RB_IDTOINDEX, id, 0); }
    UINT StyleAt(int index) {
        auto band = WithMask<REBARBANDINFOA>(RBBIM_STYLE);
        host::SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index), Ptr(&band));
        return band.fStyle;
    }
    HWND rebar = Create("ReBarWindow32", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, frame, 0, 0, 400, 60);
};

TEST_F(ConformanceRebar, BandsAreCountedAndFoundById) {
    EXPECT_EQ(host::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0), 0);
    ASSERT_TRUE(InsertBand(-1, 0xE800));
    ASSERT_TRUE(InsertBand(0, 33045));  // in front
    EXPECT_EQ(host::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0), 2);
    EXPECT_EQ(IndexOf(33045), 0);
    EXPECT_EQ(IndexOf(0xE800), 1);
    EXPECT_EQ(IndexOf(1234), -1);

    EXPECT_TRUE(host::SendMessageA(rebar, RB_DELETEBAND, 0, 0));
    EXPECT_EQ(IndexOf(0xE800), 0);
    EXPECT_EQ(IndexOf(33045), -1);
}

TEST_F(ConformanceRebar, ShowBandTogglesTheHiddenStyleAndTheChild) {
    HWND child = Create("ToolbarWindow32", WS_CHILD | WS_VISIBLE, frame, 0, 0, 100, 24);
    ASSERT_TRUE(InsertBand(-1, 0xE800, child));
    EXPECT_EQ(host::GetParent(child), rebar);  // the rebar adopts its band's child
    host::ShowWindow(frame, SW_SHOWNOACTIVATE);

    EXPECT_EQ(StyleAt(0) & RBBS_HIDDEN, 0u);
    EXPECT_TRUE(host::SendMessageA(rebar, RB_SHOWBAND, 0, FALSE));
    EXPECT_NE(StyleAt(0) & RBBS_HIDDEN, 0u);
    EXPECT_FALSE(host::IsWindowVisible(child));
    EXPECT_TRUE(host::SendMessageA(rebar, RB_SHOWBAND, 0, TRUE));
    EXPECT_EQ(StyleAt(0) & RBBS_HIDDEN, 0u);
    EXPECT_TRUE(host::IsWindowVisible(child));
    EXPECT_FALSE(host::SendMessageA(rebar, RB_SHOWBAND, 5, TRUE));
}

}  // namespace
