// The built-in controls as the plugin and the reference host use them.
#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

std::vector<std::pair<UINT, WPARAM>> notes;  // (message or notification code, wParam) seen by the frame
bool vetoSelChange = false;

LRESULT CALLBACK Frame(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(l);
        notes.emplace_back(hdr->code, w);
        if (hdr->code == TCN_SELCHANGING) return vetoSelChange;
    }
    if (m == WM_COMMAND) notes.emplace_back(WM_COMMAND, w);
    return host::DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK MdiChild(HWND h, UINT m, WPARAM w, LPARAM l) { return host::DefMDIChildProcA(h, m, w, l); }

class SimControls : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        notes.clear();
        vetoSelChange = false;
        Register("SimFrame", Frame);
        Register("SimMdiChild", MdiChild);
        frame = Make("SimFrame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 640, 480});
    }
    HWND frame = nullptr;
};

// ---- MDI client --------------------------------------------------------------

class SimMdi : public SimControls {
protected:
    void SetUp() override {
        SimControls::SetUp();
        CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
        client = Make("MDIClient", WS_CHILD | WS_VISIBLE, frame, {0, 0, 600, 400}, "", 0, &ccs);
    }
    HWND Child(const char* title, DWORD style = 0) {
        MDICREATESTRUCTA mcs{"SimMdiChild", title, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, style, 0};
        return reinterpret_cast<HWND>(host::SendMessageA(client, WM_MDICREATE, 0, Ptr(&mcs)));
    }
    HWND Active(BOOL* maximized = nullptr) {
        return reinterpret_cast<HWND>(host::SendMessageA(client, WM_MDIGETACTIVE, 0, Ptr(maximized)));
    }
    HWND client = nullptr;
};

TEST_F(SimMdi, ChildrenAreVisibleNumberedAndActivatedWithWmMdiActivate) {
    HWND first = Child("First");
    host::sim::ClearMessageLog();
    HWND second = Child("Second");
    EXPECT_EQ(Active(), second);
    EXPECT_NE(host::GetWindowLongA(second, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(host::GetWindowLongPtrW(first, GWLP_ID), 0xFF00);
    EXPECT_EQ(host::GetWindowLongPtrW(second, GWLP_ID), 0xFF01);
    EXPECT_EQ(host::GetFocus(), second);  // the frame is active, so the new child takes the focus

    // Both sides hear about the switch: (deactivated, activated).
    const auto& log = host::sim::MessageLog();
    std::vector<std::pair<HWND, LPARAM>> activations;
    for (const auto& m : log) {
        if (m.msg == WM_MDIACTIVATE && m.hwnd != client) {
            EXPECT_EQ(reinterpret_cast<HWND>(m.wParam), first);
            activations.emplace_back(m.hwnd, m.lParam);
        }
    }
    EXPECT_EQ(activations, (std::vector<std::pair<HWND, LPARAM>>{{first, Ptr(second)}, {second, Ptr(second)}}));
}

TEST_F(SimMdi, TheMaximizedStateFollowsTheActiveChild) {
    HWND first = Child("First", WS_MAXIMIZE);
    BOOL maximized = FALSE;
    EXPECT_EQ(Active(&maximized), first);
    EXPECT_TRUE(maximized);
    RECT area{}, inner{};
    host::GetClientRect(client, &area);
    host::GetClientRect(first, &inner);
    EXPECT_EQ(inner.right, area.right);  // a maximized child's client area is the whole MDI client
    EXPECT_EQ(inner.bottom, area.bottom);

    HWND second = Child("Second");
    EXPECT_EQ(Active(&maximized), second);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(host::GetWindowLongA(first, GWL_STYLE) & WS_MAXIMIZE, 0);

    host::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_NE(host::GetWindowLongA(first, GWL_STYLE) & WS_MAXIMIZE, 0);
    EXPECT_EQ(host::GetWindowLongA(second, GWL_STYLE) & WS_MAXIMIZE, 0);

    host::MoveWindow(client, 0, 0, 500, 300, TRUE);  // the maximized child follows the client
    host::GetClientRect(first, &inner);
    EXPECT_EQ(inner.right, 500);
}

TEST_F(SimMdi, DestroyingTheActiveChildDirectlyLeavesNoneActive) {
    HWND only = Child("Only");
    EXPECT_EQ(Active(), only);
    host::DestroyWindow(only);  // not through WM_MDIDESTROY: the client notices too
    EXPECT_EQ(Active(), nullptr);
}

// ---- tab control ---------------------------------------------------------------

class SimTabs : public SimControls {
protected:
    void SetUp() override {
        SimControls::SetUp();
        tabs = Make("SysTabControl32", WS_CHILD | WS_VISIBLE | TCS_TOOLTIPS, frame, {0, 0, 600, 24}, "", 9);
        for (const char* t : {"a", "b", "c"}) Insert(99, t);
    }
    LRESULT Insert(int index, const char* text) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text);
        return host::SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index), Ptr(&item));
    }
    LRESULT Sel() { return host::SendMessageA(tabs, TCM_GETCURSEL, 0, 0); }
    HWND tabs = nullptr;
};

TEST_F(SimTabs, TheSelectionFollowsItsTabThroughInsertsAndDeletes) {
    EXPECT_EQ(Sel(), 0);  // the first tab inserted is selected
    host::SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    Insert(0, "front");
    EXPECT_EQ(Sel(), 2);
    host::SendMessageA(tabs, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(Sel(), 1);
    host::SendMessageA(tabs, TCM_DELETEITEM, 1, 0);  // the selected tab itself
    EXPECT_EQ(Sel(), -1);

    char16_t wide[8] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide;
    item.cchTextMax = 8;
    ASSERT_TRUE(host::SendMessageW(tabs, TCM_GETITEMW, 1, Ptr(&item)));
    EXPECT_EQ(std::u16string(wide), u"c");
}

TEST_F(SimTabs, ClickingATabSelectsItUnlessTheParentRefuses) {
    RECT second{};
    host::SendMessageA(tabs, TCM_GETITEMRECT, 1, Ptr(&second));
    const LPARAM at = MAKELPARAM(static_cast<WORD>(second.left + 3), static_cast<WORD>(second.top + 3));
    vetoSelChange = true;
    host::SendMessageA(tabs, WM_LBUTTONDOWN, 0, at);
    EXPECT_EQ(Sel(), 0);
    vetoSelChange = false;
    notes.clear();
    host::SendMessageA(tabs, WM_LBUTTONDOWN, 0, at);
    EXPECT_EQ(Sel(), 1);
    EXPECT_EQ(notes, (std::vector<std::pair<UINT, WPARAM>>{{TCN_SELCHANGING, 9}, {TCN_SELCHANGE, 9}}));
}

TEST_F(SimTabs, TheTooltipIsOwnedRememberesActivationAndGoesWithTheTabs) {
    HWND tip = reinterpret_cast<HWND>(host::SendMessageA(tabs, TCM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(host::GetParent(tip), frame);  // a pop-up owned by the tab control's top-level window
    EXPECT_TRUE(host::sim::TooltipActive(tip));
    host::SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
    EXPECT_FALSE(host::sim::TooltipActive(tip));
    host::DestroyWindow(tabs);
    EXPECT_FALSE(host::IsWindow(tip));
}

// ---- status bar, toolbar, rebar --------------------------------------------------

TEST_F(SimControls, StatusBarTextOfPartZeroIsItsCaption) {
    HWND bar = Make("msctls_statusbar32", WS_CHILD | WS_VISIBLE, frame, {0, 0, 0, 0});
    host::SetWindowTextA(bar, "Done");
    EXPECT_EQ(Text(bar), "Done");
    EXPECT_EQ(host::sim::WindowText(bar), "Done");
    char buffer[16] = {};
    const LRESULT r = host::SendMessageA(bar, SB_GETTEXTA, 0, Ptr(buffer));
    EXPECT_STREQ(buffer, "Done");
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(r)), 4);

    host::SendMessageW(bar, SB_SETTEXTW, 0 | SBT_POPOUT, reinterpret_cast<LPARAM>(u"Pop"));
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(host::SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0))), SBT_POPOUT);
    EXPECT_FALSE(host::SendMessageA(bar, SB_SETTEXTA, 5, Ptr("nowhere")));

    // Resizing the frame and telling the bar (as hosts do on WM_SIZE) keeps it at the bottom.
    host::MoveWindow(frame, 0, 0, 400, 300, TRUE);
    host::SendMessageA(bar, WM_SIZE, SIZE_RESTORED, 0);
    RECT client{}, self{};
    host::GetClientRect(frame, &client);
    host::GetWindowRect(bar, &self);
    POINT corner{self.right, self.bottom};
    host::ScreenToClient(frame, &corner);
    EXPECT_EQ(corner.x, client.right);
    EXPECT_EQ(corner.y, client.bottom);
}

TEST_F(SimControls, ToolbarButtonWidthsAndClicksGoWhereWindowsSendsThem) {
    HWND toolbar = Make("ToolbarWindow32", WS_CHILD | WS_VISIBLE | CCS_NORESIZE, frame, {0, 0, 300, 30});
    TBBUTTON buttons[3]{};
    for (int i = 0; i < 3; ++i) {
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].iString = -1;
    }
    buttons[1].fsStyle = BTNS_SEP;
    host::SendMessageA(toolbar, TB_ADDBUTTONSA, 3, Ptr(buttons));

    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    EXPECT_EQ(host::SendMessageA(toolbar, TB_GETBUTTONINFOA, 102, Ptr(&info)), 2);  // the index
    const WORD width = info.cx;
    EXPECT_GT(width, 0);
    info.cx = static_cast<WORD>(width + 40);
    EXPECT_TRUE(host::SendMessageA(toolbar, TB_SETBUTTONINFOA, 102, Ptr(&info)));
    RECT r{};
    host::SendMessageA(toolbar, TB_GETRECT, 102, Ptr(&r));
    EXPECT_EQ(r.right - r.left, width + 40);
    info.cbSize = 32;  // a 32-bit caller's size is refused by a 64-bit toolbar
    EXPECT_EQ(host::SendMessageA(toolbar, TB_GETBUTTONINFOA, 102, Ptr(&info)), -1);

    // Hiding the first button moves the others left and takes its rectangle away.
    host::SendMessageA(toolbar, TB_HIDEBUTTON, 100, TRUE);
    EXPECT_FALSE(host::SendMessageA(toolbar, TB_GETITEMRECT, 0, Ptr(&r)));
    host::SendMessageA(toolbar, TB_GETRECT, 102, Ptr(&r));
    EXPECT_EQ(r.left, 8);  // only the separator is left of it

    // A click reports to the window the toolbar was created in, even inside a rebar.
    HWND rebar = Make("ReBarWindow32", WS_CHILD | WS_VISIBLE, frame);
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
    band.hwndChild = toolbar;
    band.cyMinChild = 22;
    host::SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), Ptr(&band));
    EXPECT_EQ(host::GetParent(toolbar), rebar);
    notes.clear();
    host::SendMessageA(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(r.left + 2), 5));
    EXPECT_EQ(notes, (std::vector<std::pair<UINT, WPARAM>>{{WM_COMMAND, MAKEWPARAM(102, BN_CLICKED)}}));
}

TEST_F(SimControls, RebarHeightFollowsItsVisibleBands) {
    HWND rebar = Make("ReBarWindow32", WS_CHILD | WS_VISIBLE, frame, {0, 0, 600, 50});
    RECT client{};
    host::GetClientRect(rebar, &client);
    EXPECT_EQ(client.bottom, 0);  // no bands, no height
    HWND a = Make("Static", WS_CHILD | WS_VISIBLE, frame);
    HWND b = Make("Static", WS_CHILD | WS_VISIBLE, frame);
    for (HWND child : {a, b}) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID;
        band.fStyle = RBBS_BREAK;
        band.hwndChild = child;
        band.cyMinChild = child == a ? 24 : 30;
        band.wID = child == a ? 1 : 2;
        host::SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), Ptr(&band));
    }
    host::GetClientRect(rebar, &client);
    EXPECT_EQ(client.bottom, 54);
    EXPECT_EQ(client.right, 632);  // the frame's client width
    RECT placed{};
    host::GetWindowRect(b, &placed);
    POINT topLeft{placed.left, placed.top};
    host::ScreenToClient(rebar, &topLeft);
    EXPECT_EQ(topLeft.y, 24);  // second row

    host::SendMessageA(rebar, RB_SHOWBAND, 0, FALSE);
    host::GetClientRect(rebar, &client);
    EXPECT_EQ(client.bottom, 30);
    EXPECT_FALSE(host::IsWindowVisible(a));
}

// ---- edit and combo box ----------------------------------------------------------

TEST_F(SimControls, EditPastesOneLineUndoesTwiceAsRedoAndTalksToItsParent) {
    HWND edit = Make("Edit", WS_CHILD | WS_VISIBLE, frame, {0, 0, 200, 20}, "go to ", 33);
    host::SendMessageA(edit, EM_SETSEL, 6, 6);
    host::sim::SetClipboardText(std::string("example.com\r\nsecond line"));
    notes.clear();
    host::SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(edit), "go to example.com");
    EXPECT_EQ(notes, (std::vector<std::pair<UINT, WPARAM>>{{WM_COMMAND, MAKEWPARAM(33, EN_CHANGE)}}));
    EXPECT_TRUE(host::SendMessageA(edit, EM_CANUNDO, 0, 0));

    host::SendMessageA(edit, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), "go to ");
    host::SendMessageA(edit, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), "go to example.com");

    host::SendMessageA(edit, EM_SETSEL, 0, 3);
    host::SendMessageA(edit, WM_CUT, 0, 0);
    EXPECT_EQ(host::sim::ClipboardText(), "go ");
    EXPECT_EQ(Text(edit), "to example.com");
    host::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // deselects, caret stays
    DWORD start = 9, end = 9;
    host::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), Ptr(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);

    host::SetWindowTextA(edit, "reset");
    EXPECT_FALSE(host::SendMessageA(edit, EM_CANUNDO, 0, 0));
}

TEST_F(SimControls, ADropDownComboKeepsItsTextInItsEditAndRelaysEdits) {
    HWND combo = Make("ComboBox", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, frame, {0, 0, 300, 24}, "http://start/", 77);
    HWND edit = host::FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(host::GetWindowLongPtrW(edit, GWLP_ID), 1001);
    EXPECT_EQ(Text(combo), "http://start/");
    EXPECT_EQ(host::sim::WindowText(combo), "http://start/");

    notes.clear();
    host::SendMessageA(edit, WM_CHAR, 'x', 0);  // typing in the edit
    EXPECT_EQ(notes, (std::vector<std::pair<UINT, WPARAM>>{{WM_COMMAND, MAKEWPARAM(77, CBN_EDITCHANGE)}}));
    notes.clear();
    host::SetWindowTextA(combo, "http://set/");  // programmatic: no notification
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(Text(edit), "http://set/");

    host::SendMessageA(combo, CB_ADDSTRING, 0, Ptr("one"));
    EXPECT_EQ(host::SendMessageA(combo, CB_SETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(edit), "one");
    EXPECT_EQ(host::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(Text(edit), "");
    EXPECT_EQ(host::SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
}

}  // namespace
