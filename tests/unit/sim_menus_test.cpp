// Menus: positions, submenus, item information and TrackPopupMenu.
#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

std::vector<UINT> Ids(HMENU m) {
    std::vector<UINT> ids;
    for (int i = 0; i < host::GetMenuItemCount(m); ++i) ids.push_back(host::GetMenuItemID(m, i));
    return ids;
}

std::string String(HMENU m, UINT item, UINT flags) {
    char buffer[64] = {};
    return std::string(buffer, static_cast<std::size_t>(host::GetMenuStringA(m, item, buffer, sizeof(buffer), flags)));
}

class SimMenus : public SimTest {};

TEST_F(SimMenus, InsertingByCommandLandsInTheSubmenuThatHoldsTheCommand) {
    HMENU bar = host::CreateMenu();
    HMENU file = host::CreatePopupMenu();
    host::AppendMenuA(file, MF_STRING, 10, "Open");
    host::AppendMenuA(file, MF_STRING, 11, "Close");
    host::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    host::AppendMenuA(bar, MF_STRING, 20, "Help");

    EXPECT_TRUE(host::InsertMenuA(bar, 11, MF_BYCOMMAND | MF_STRING, 12, "Save"));
    EXPECT_EQ(Ids(file), (std::vector<UINT>{10, 12, 11}));
    EXPECT_EQ(host::GetMenuItemCount(bar), 2);
    // An unknown command appends to the menu that was asked.
    EXPECT_TRUE(host::InsertMenuA(bar, 999, MF_BYCOMMAND | MF_STRING, 21, "About"));
    EXPECT_EQ(host::GetMenuItemID(bar, 2), 21u);

    // By-command calls reach into the submenu; positions shift after removal.
    EXPECT_TRUE(host::RemoveMenu(bar, 10, MF_BYCOMMAND));
    EXPECT_EQ(Ids(file), (std::vector<UINT>{12, 11}));
    EXPECT_EQ(String(bar, 11, MF_BYCOMMAND), "Close");
    EXPECT_EQ(host::CheckMenuItem(bar, 12, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_NE(host::GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    host::DestroyMenu(bar);
}

TEST_F(SimMenus, ASubmenuItemAnswersItsCommandOnlyWhenNothingInsideDoes) {
    HMENU m = host::CreatePopupMenu();
    HMENU sub = host::CreatePopupMenu();
    host::AppendMenuA(sub, MF_STRING, 7, "Inner seven");
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.wID = 7;  // the same id as the item inside
    info.hSubMenu = sub;
    info.dwTypeData = const_cast<char*>("Outer");
    ASSERT_TRUE(host::InsertMenuItemA(m, 0, TRUE, &info));
    EXPECT_EQ(String(m, 7, MF_BYCOMMAND), "Inner seven");
    host::DeleteMenu(sub, 0, MF_BYPOSITION);
    EXPECT_EQ(String(m, 7, MF_BYCOMMAND), "Outer");
    host::DestroyMenu(m);
}

TEST_F(SimMenus, DetachedSubmenusSurviveDeletedAndDestroyedOnesDoNot) {
    HMENU root = host::CreatePopupMenu();
    HMENU kept = host::CreatePopupMenu();
    HMENU deleted = host::CreatePopupMenu();
    HMENU grandchild = host::CreatePopupMenu();
    host::AppendMenuA(deleted, MF_POPUP, reinterpret_cast<UINT_PTR>(grandchild), "Deeper");
    host::AppendMenuA(root, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "Kept");
    host::AppendMenuA(root, MF_POPUP, reinterpret_cast<UINT_PTR>(deleted), "Deleted");
    EXPECT_EQ(host::sim::LiveMenuCount(), 4);

    EXPECT_TRUE(host::RemoveMenu(root, 0, MF_BYPOSITION));
    EXPECT_EQ(host::sim::LiveMenuCount(), 4);
    EXPECT_TRUE(host::DeleteMenu(root, 0, MF_BYPOSITION));  // takes the grandchild too
    EXPECT_EQ(host::sim::LiveMenuCount(), 2);
    EXPECT_FALSE(host::IsMenu(grandchild));

    host::AppendMenuA(root, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "Again");
    EXPECT_TRUE(host::DestroyMenu(root));
    EXPECT_EQ(host::sim::LiveMenuCount(), 0);
    EXPECT_FALSE(host::DestroyMenu(kept));
}

TEST_F(SimMenus, ItemsWithoutTextAreSeparatorsAndCopiesFollowTheCchRules) {
    HMENU m = host::CreatePopupMenu();
    host::AppendMenuA(m, MF_STRING, 1, nullptr);  // no text: a separator, greyed
    MENUITEMINFOA idOnly{};
    idOnly.cbSize = sizeof(idOnly);
    idOnly.fMask = MIIM_ID;
    idOnly.wID = 2;
    host::InsertMenuItemA(m, 1, TRUE, &idOnly);
    host::AppendMenuA(m, MF_STRING, 3, "Seven");

    EXPECT_EQ(host::GetMenuState(m, 0, MF_BYPOSITION), MF_SEPARATOR | MF_GRAYED | MF_DISABLED);
    EXPECT_NE(host::GetMenuState(m, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);

    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE;
    char buffer[4] = {'x', 'x', 'x', 'x'};
    info.dwTypeData = buffer;
    info.cch = 4;
    ASSERT_TRUE(host::GetMenuItemInfoA(m, 3, FALSE, &info));
    EXPECT_STREQ(buffer, "Sev");
    EXPECT_EQ(info.cch, 3u);  // a cut copy reports what it copied
    info.cch = 0;
    ASSERT_TRUE(host::GetMenuItemInfoA(m, 3, FALSE, &info));
    EXPECT_EQ(info.cch, 5u);  // no room: the length

    info.fMask = MIIM_TYPE | MIIM_STRING;  // not a valid combination
    EXPECT_FALSE(host::GetMenuItemInfoA(m, 3, FALSE, &info));
    info.fMask = MIIM_ID;
    info.cbSize = 12;
    EXPECT_FALSE(host::GetMenuItemInfoA(m, 3, FALSE, &info));
    host::DestroyMenu(m);
}

// ---- TrackPopupMenu ----------------------------------------------------------

HMENU tracked = nullptr;
std::vector<UINT> ownerSaw;

LRESULT CALLBACK Owner(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m >= WM_USER || m == WM_COMMAND || m == WM_KEYDOWN) ownerSaw.push_back(m == WM_COMMAND ? static_cast<UINT>(w) : m);
    if (m == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(w) == tracked) {
        host::AppendMenuA(tracked, MF_STRING, 42, "Added on open");
        host::EnableMenuItem(tracked, 41, MF_BYCOMMAND | MF_GRAYED);
    }
    if (m == WM_ENTERIDLE) host::PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);  // eaten by the menu loop
    return host::DefWindowProcA(h, m, w, l);
}

class SimTrackPopup : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ownerSaw.clear();
        Register("SimOwner", Owner);
        owner = Make("SimOwner", WS_POPUP | WS_VISIBLE);
        tracked = host::CreatePopupMenu();
        host::AppendMenuA(tracked, MF_STRING, 40, "Forty");
        host::AppendMenuA(tracked, MF_STRING, 41, "Forty-one");
        host::sim::ClearMessageLog();
    }
    HWND owner = nullptr;
};

TEST_F(SimTrackPopup, TheOwnerSeesWin32sSequenceAndTheMenuAsShown) {
    host::sim::QueueMenuAnswer(42);
    EXPECT_EQ(host::TrackPopupMenu(tracked, TPM_RETURNCMD, 5, 6, 0, owner, nullptr), 42);
    EXPECT_EQ(Sequence(owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_ENTERIDLE, WM_MENUSELECT,
                               WM_CAPTURECHANGED, WM_UNINITMENUPOPUP, WM_EXITMENULOOP}),
              (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_ENTERIDLE, WM_MENUSELECT,
                                 WM_CAPTURECHANGED, WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP}));
    ASSERT_EQ(host::sim::TrackedMenus().size(), 1u);
    const auto& shown = host::sim::TrackedMenus()[0];
    EXPECT_EQ(shown.x, 5);
    ASSERT_EQ(shown.items.size(), 3u);  // what WM_INITMENUPOPUP added is part of it
    EXPECT_EQ(shown.items[2].text, "Added on open");
    EXPECT_NE(shown.items[1].state & MFS_GRAYED, 0u);
    host::sim::RunPending();
    EXPECT_TRUE(ownerSaw.empty());  // the key posted while the menu was up went to the menu
}

TEST_F(SimTrackPopup, WithoutReturnCmdTheChoiceArrivesAsAPostedCommand) {
    host::sim::QueueMenuAnswer(40);
    EXPECT_NE(host::TrackPopupMenu(tracked, TPM_RIGHTBUTTON, 0, 0, 0, owner, nullptr), 0);
    EXPECT_TRUE(ownerSaw.empty());
    host::sim::RunPending();
    EXPECT_EQ(ownerSaw, (std::vector<UINT>{40}));
}

TEST_F(SimTrackPopup, GreyedChoicesUnknownIdsAndAnEmptyQueueDismiss) {
    host::sim::QueueMenuAnswer(41);   // greyed in WM_INITMENUPOPUP
    host::sim::QueueMenuAnswer(999);  // not in the menu
    EXPECT_EQ(host::TrackPopupMenu(tracked, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);
    EXPECT_EQ(host::TrackPopupMenu(tracked, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);
    EXPECT_EQ(host::TrackPopupMenu(tracked, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);
    EXPECT_EQ(host::sim::TrackedMenus().size(), 3u);
}

TEST_F(SimTrackPopup, NoNotifySkipsTheInitMessagesAndAnEmptyMenuIsNotShown) {
    host::sim::QueueMenuAnswer(40);
    EXPECT_EQ(host::TrackPopupMenu(tracked, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, owner, nullptr), 40);
    EXPECT_TRUE(Sequence(owner, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP}).empty());

    HMENU empty = host::CreatePopupMenu();
    EXPECT_FALSE(host::TrackPopupMenu(empty, TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(host::sim::TrackedMenus().size(), 1u);
    EXPECT_FALSE(host::TrackPopupMenu(tracked, 0, 0, 0, 0, nullptr, nullptr));  // no owner window
}

TEST_F(SimTrackPopup, MessageBoxesAreRecordedAndAnsweredInOrder) {
    host::sim::QueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(host::MessageBoxA(owner, "Close all tabs?", "Tillwick", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(host::MessageBoxA(owner, "Done", nullptr, MB_OK), IDOK);
    ASSERT_EQ(host::sim::MessageBoxes().size(), 2u);
    EXPECT_EQ(host::sim::MessageBoxes()[0].text, "Close all tabs?");
    EXPECT_EQ(host::sim::MessageBoxes()[1].caption, "Error");  // Windows' caption when none is given
}

}  // namespace
