// Menus: positions after inserts and removals, item info, the return-value
// conventions of the getters and setters, and what happens to submenus.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

class ConformanceMenus : public Fixture {
protected:
    // A popup with items 101 "One", 102 "Two", 103 "Three".
    HMENU Popup() {
        HMENU m = host::CreatePopupMenu();
        const std::pair<UINT, const char*> items[] = {{101, "One"}, {102, "Two"}, {103, "Three"}};
        for (const auto& [id, text] : items) host::AppendMenuA(m, MF_STRING, id, text);
        return m;
    }
    std::vector<UINT> Ids(HMENU m) {
        std::vector<UINT> ids;
        for (int i = 0; i < host::GetMenuItemCount(m); ++i)
            ids.push_back(host::GetMenuItemID(m, i));
        return ids;
    }
    std::string TextAt(HMENU m, UINT item, UINT flags) {
        char buffer[64] = {};
        int n = host::GetMenuStringA(m, item, buffer, sizeof(buffer), flags);
        return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
};

TEST_F(ConformanceMenus, PositionsShiftWithInsertsAndRemovals) {
    HMENU m = Popup();
    ASSERT_EQ(host::GetMenuItemCount(m), 3);

    EXPECT_TRUE(host::InsertMenuA(m, 1, MF_BYPOSITION | MF_STRING, 201, "Inserted"));
    EXPECT_EQ(Ids(m), (std::vector<UINT>{101, 201, 102, 103}));
    // By command: in front of the item with that id.
    EXPECT_TRUE(host::InsertMenuA(m, 103, MF_BYCOMMAND | MF_STRING, 202, "Before three"));
    EXPECT_EQ(Ids(m), (std::vector<UINT>{101, 201, 102, 202, 103}));
    // A position past the end appends.
    EXPECT_TRUE(host::InsertMenuA(m, 99, MF_BYPOSITION | MF_STRING, 203, "Last"));
    EXPECT_EQ(Ids(m).back(), 203u);

    MENUITEMINFOA info{.cbSize = sizeof(MENUITEMINFOA), .fMask = MIIM_ID | MIIM_STRING, .wID = 204,
                       .dwTypeData = const_cast<char*>("First")};
    EXPECT_TRUE(host::InsertMenuItemA(m, 0, TRUE, &info));
    EXPECT_EQ(Ids(m).front(), 204u);

    EXPECT_TRUE(host::RemoveMenu(m, 0, MF_BYPOSITION));
    EXPECT_TRUE(host::DeleteMenu(m, 201, MF_BYCOMMAND));
    EXPECT_EQ(Ids(m), (std::vector<UINT>{101, 102, 202, 103, 203}));
    EXPECT_EQ(TextAt(m, 2, MF_BYPOSITION), "Before three");

    EXPECT_FALSE(host::RemoveMenu(m, 999, MF_BYCOMMAND));
    EXPECT_FALSE(host::DeleteMenu(m, 9, MF_BYPOSITION));
    host::DestroyMenu(m);
}

TEST_F(ConformanceMenus, ItemInfoReadsAndWritesTextIdAndState) {
    HMENU m = Popup();
    auto info = WithMask<MENUITEMINFOA>(MIIM_STRING);
    ASSERT_TRUE(host::GetMenuItemInfoA(m, 1, TRUE, &info));  // no buffer: the length
    EXPECT_EQ(info.cch, 3u);

    char buffer[16] = {};
    info.dwTypeData = buffer;
    info.cch = sizeof(buffer);
    ASSERT_TRUE(host::GetMenuItemInfoA(m, 102, FALSE, &info));
    EXPECT_STREQ(buffer, "Two");
    EXPECT_EQ(info.cch, 3u);

    MENUITEMINFOA change{.cbSize = sizeof(MENUITEMINFOA), .fMask = MIIM_STRING | MIIM_ID | MIIM_STATE,
                         .fState = MFS_CHECKED | MFS_GRAYED, .wID = 302, .dwTypeData = const_cast<char*>("Second")};
    ASSERT_TRUE(host::SetMenuItemInfoA(m, 1, TRUE, &change));
    EXPECT_EQ(host::GetMenuItemID(m, 1), 302u);
    EXPECT_EQ(TextAt(m, 302, MF_BYCOMMAND), "Second");
    EXPECT_EQ(host::GetMenuState(m, 302, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), MF_CHECKED | MF_GRAYED);

    auto read = WithMask<MENUITEMINFOA>(MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU);
    ASSERT_TRUE(host::GetMenuItemInfoA(m, 302, FALSE, &read));
    EXPECT_EQ(read.wID, 302u);
    EXPECT_EQ(read.fState & (MFS_CHECKED | MFS_GRAYED), MFS_CHECKED | MFS_GRAYED);
    EXPECT_EQ(read.fType & MFT_SEPARATOR, 0u);
    EXPECT_EQ(read.hSubMenu, nullptr);

    EXPECT_FALSE(host::GetMenuItemInfoA(m, 7, TRUE, &read));
    EXPECT_FALSE(host::SetMenuItemInfoA(m, 999, FALSE, &change));

    // A short buffer: the answer counts what was copied, not the whole text.
    char small[8] = {};
    EXPECT_EQ(host::GetMenuStringA(m, 0, small, 3, MF_BYPOSITION), 2);
    EXPECT_EQ(std::string(small, 2), "On");
    host::DestroyMenu(m);
}

TEST_F(ConformanceMenus, GettersAndSettersReportPreviousStateOrMinusOne) {
    HMENU m = Popup();
    HMENU sub = host::CreatePopupMenu();
    host::AppendMenuA(sub, MF_STRING, 501, "Nested one");
    host::AppendMenuA(sub, MF_STRING, 502, "Nested two");
    host::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
    host::AppendMenuA(m, MF_SEPARATOR, 0, nullptr);

    EXPECT_EQ(host::GetMenuItemID(m, 3), kNoItem);  // a submenu item has no id
    EXPECT_EQ(host::GetMenuItemID(m, 10), kNoItem);
    EXPECT_EQ(host::GetSubMenu(m, 3), sub);
    EXPECT_EQ(host::GetSubMenu(m, 0), nullptr);
    EXPECT_EQ(host::GetMenuItemCount(sub), 2);

    const UINT popupState = host::GetMenuState(m, 3, MF_BYPOSITION);
    EXPECT_NE(popupState & MF_POPUP, 0u);
    EXPECT_EQ(popupState >> 8 & 0xFF, 2u);  // the submenu's item count
    EXPECT_NE(host::GetMenuState(m, 4, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(host::GetMenuState(m, 999, MF_BYCOMMAND), kNoItem);

    EXPECT_EQ(host::EnableMenuItem(m, 102, MF_BYCOMMAND | MF_GRAYED), BOOL{MF_ENABLED});
    EXPECT_EQ(host::EnableMenuItem(m, 102, MF_BYCOMMAND | MF_ENABLED), BOOL{MF_GRAYED});
    EXPECT_EQ(host::EnableMenuItem(m, 999, MF_BYCOMMAND | MF_GRAYED), -1);

    EXPECT_EQ(host::CheckMenuItem(m, 1, MF_BYPOSITION | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(host::CheckMenuItem(m, 1, MF_BYPOSITION | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(host::CheckMenuItem(m, 999, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
    host::DestroyMenu(m);
}

TEST_F(ConformanceMenus, CommandLookupsReachIntoSubmenus) {
    HMENU bar = host::CreateMenu();
    HMENU sub = Popup();
    host::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "File");

    EXPECT_EQ(TextAt(bar, 102, MF_BYCOMMAND), "Two");
    EXPECT_NE(host::GetMenuState(bar, 102, MF_BYCOMMAND), kNoItem);
    EXPECT_EQ(host::EnableMenuItem(bar, 102, MF_BYCOMMAND | MF_GRAYED), BOOL{MF_ENABLED});
    EXPECT_NE(host::GetMenuState(sub, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_TRUE(host::DeleteMenu(bar, 102, MF_BYCOMMAND));
    EXPECT_EQ(host::GetMenuItemCount(sub), 2);
    host::DestroyMenu(bar);
}

TEST_F(ConformanceMenus, RemoveDetachesASubmenuDeleteAndDestroyEndIt) {
    HMENU m = Popup();
    HMENU kept = host::CreatePopupMenu();
    HMENU deleted = host::CreatePopupMenu();
    HMENU nested = host::CreatePopupMenu();
    host::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "Kept");
    host::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(deleted), "Deleted");
    host::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), "Nested");

    EXPECT_TRUE(host::RemoveMenu(m, 3, MF_BYPOSITION));
    EXPECT_TRUE(host::IsMenu(kept));
    EXPECT_EQ(host::GetMenuItemCount(m), 5);

    EXPECT_TRUE(host::DeleteMenu(m, 3, MF_BYPOSITION));
    EXPECT_FALSE(host::IsMenu(deleted));
    EXPECT_EQ(host::GetMenuItemCount(m), 4);

    EXPECT_TRUE(host::DestroyMenu(m));
    EXPECT_FALSE(host::IsMenu(m));
    EXPECT_FALSE(host::IsMenu(nested));  // destroyed with its parent menu
    EXPECT_EQ(host::GetMenuItemCount(m), -1);
    EXPECT_TRUE(host::DestroyMenu(kept));
}

}  // namespace
