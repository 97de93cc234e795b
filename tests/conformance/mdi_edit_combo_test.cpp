// The MDI client, the edit control and the drop-down combo box.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

constexpr const char* kMdiChildClass = "TwConfMdiChild";

LRESULT CALLBACK MdiChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back({hwnd, msg, wParam, lParam, 'M'});
    return host::DefMDIChildProcA(hwnd, msg, wParam, lParam);
}

class ConformanceMdiClient : public Fixture {
protected:
    void SetUp() override {
        EnsureClass(kMdiChildClass, MdiChildProc);
        ASSERT_NE(client, nullptr);
        host::ShowWindow(frame, SW_SHOWNOACTIVATE);
    }
    HWND NewChild(const char* title) {
        MDICREATESTRUCTA mcs{kMdiChildClass, title, nullptr, 10, 10, 200, 150, 0, 0};
        return reinterpret_cast<HWND>(host::SendMessageA(client, WM_MDICREATE, 0, Ptr(&mcs)));
    }
    HWND Active() {
        return reinterpret_cast<HWND>(host::SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    }

    CLIENTCREATESTRUCT ccs{nullptr, 50000};
    HWND frame = CreateFrame(600, 400);
    HWND client = Create("MDIClient", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, frame, 0, 0, 600, 400, "", 0, &ccs);
};

TEST_F(ConformanceMdiClient, ChildrenLiveInTheClientAndTheNewestIsActive) {
    EXPECT_EQ(Active(), nullptr);
    HWND first = NewChild("First");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(host::GetParent(first), client);
    EXPECT_EQ(ClassOf(first), kMdiChildClass);
    EXPECT_EQ(TextOf(first), "First");
    EXPECT_NE(static_cast<DWORD>(host::GetWindowLongA(first, GWL_EXSTYLE)) & WS_EX_MDICHILD, 0u);
    EXPECT_EQ(Active(), first);

    HWND second = NewChild("Second");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(Active(), second);
}

TEST_F(ConformanceMdiClient, ActivateSwitchesAndDestroyHandsOnToTheNext) {
    HWND first = NewChild("First");
    HWND second = NewChild("Second");
    ASSERT_TRUE(first && second);

    Log().clear();
    host::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_EQ(Active(), first);
    // Both children hear about the switch: the one leaving, then the one arriving.
    EXPECT_EQ(SequenceOf(second, {WM_MDIACTIVATE}).size(), 1u);
    EXPECT_EQ(SequenceOf(first, {WM_MDIACTIVATE}).size(), 1u);

    host::SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_FALSE(host::IsWindow(first));
    EXPECT_EQ(Active(), second);
    EXPECT_EQ(host::FindWindowExA(client, nullptr, kMdiChildClass, nullptr), second);

    host::SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
    EXPECT_EQ(Active(), nullptr);

    HWND third = NewChild("Third");
    HWND fourth = NewChild("Fourth");
    host::SendMessageA(fourth, WM_CLOSE, 0, 0);  // DefMDIChildProc asks the client to destroy it
    EXPECT_FALSE(host::IsWindow(fourth));
    EXPECT_EQ(Active(), third);
}

class ConformanceEdit : public FrameFixture {
protected:
    void SetUp() override { ASSERT_NE(edit, nullptr); }
    std::pair<DWORD, DWORD> Selection(LRESULT* packed = nullptr) {
        DWORD start = 12345, end = 12345;
        LRESULT r =
            host::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), Ptr(&end));
        if (packed) *packed = r;
        return {start, end};
    }
    HWND edit = Create("Edit", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, frame, 0, 0, 300, 24, "Hello world");
};

TEST_F(ConformanceEdit, SelectionIsReportedOrderedAndClamped) {
    EXPECT_EQ(TextOf(edit), "Hello world");
    EXPECT_EQ(host::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 11);

    host::SendMessageA(edit, EM_SETSEL, 2, 5);
    LRESULT packed = 0;
    EXPECT_EQ(Selection(&packed), (std::pair<DWORD, DWORD>{2, 5}));
    EXPECT_EQ(packed, MAKELONG(2, 5));

    host::SendMessageA(edit, EM_SETSEL, 7, 3);  // backwards: reported low to high
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{3, 7}));

    host::SendMessageA(edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));  // everything
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 11}));

    host::SendMessageA(edit, EM_SETSEL, 50, 80);  // past the end
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{11, 11}));
}

TEST_F(ConformanceEdit, ReplaceSelAndSetTextChangeTheContent) {
    host::SendMessageA(edit, EM_SETSEL, 0, 5);
    host::SendMessageA(edit, EM_REPLACESEL, FALSE, Ptr("Howdy"));
    EXPECT_EQ(TextOf(edit), "Howdy world");
    EXPECT_TRUE(host::SetWindowTextA(edit, "new"));
    EXPECT_EQ(TextOf(edit), "new");
    EXPECT_EQ(host::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 3);
}

class ConformanceComboBox : public FrameFixture {};

TEST_F(ConformanceComboBox, OnlyTheDropDownStyleHasAnEditChild) {
    HWND dropDown = Create("ComboBox", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, frame, 0, 0, 200, 200);
    HWND list =
        Create("ComboBox", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, frame, 0, 30, 200, 200);
    ASSERT_TRUE(dropDown && list);
    HWND edit = host::FindWindowExA(dropDown, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(host::GetParent(edit), dropDown);
    EXPECT_EQ(host::FindWindowExA(list, nullptr, "Edit", nullptr), nullptr);
}

TEST_F(ConformanceComboBox, SelectionAndTextShowInTheEditChild) {
    HWND combo = Create("ComboBox", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, frame, 0, 0, 200, 200);
    HWND edit = host::FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);

    EXPECT_EQ(host::SendMessageA(combo, CB_ADDSTRING, 0, Ptr("First")), 0);
    EXPECT_EQ(host::SendMessageA(combo, CB_ADDSTRING, 0, Ptr("Second")), 1);
    EXPECT_EQ(host::SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(host::SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);

    EXPECT_EQ(host::SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(host::SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TextOf(edit), "Second");
    EXPECT_EQ(TextOf(combo), "Second");
    EXPECT_EQ(host::SendMessageA(combo, CB_SETCURSEL, 5, 0), CB_ERR);

    EXPECT_TRUE(host::SetWindowTextA(combo, "typed"));
    EXPECT_EQ(TextOf(edit), "typed");
}

}  // namespace
