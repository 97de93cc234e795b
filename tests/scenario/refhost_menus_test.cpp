// The host's menus as a plugin recognises them (ids at fixed positions), the
// menu loop as the frame sees it, and what a chosen item does.
#include <tuple>

#include "core/host_contract.h"
#include "support/refhost_fixture.h"

namespace {

namespace c = tillwick::contract;
using namespace refhost_fixture;
const std::vector<MenuItemSnapshot>& LastMenu() { return TrackedMenus().back().items; }

class RefHostMenus : public HostTest {};

TEST_F(RefHostMenus, TabMenuCarriesTheTabBarCommandAndCloseAllWhereTabBarPositionSaysSo) {
    auto& h = Start(1);
    h.RightClickTab(0);
    ASSERT_EQ(TrackedMenus().size(), 1u);
    EXPECT_EQ(TrackedMenus().back().owner, h.Frame());
    EXPECT_EQ(LastMenu().at(c::kTabMenuMarkerPos).id, c::kCmdTabBarBottom);
    EXPECT_EQ(LastMenu().at(c::kTabMenuCloseAllPos).id, c::kCmdCloseAll);
    EXPECT_EQ(LastMenu().at(c::kTabMenuCloseAllPos).text, "Close &All");  // the host's language text

    h.Command(c::kCmdTabBarTop);
    h.RightClickTab(0);
    EXPECT_EQ(LastMenu().at(c::kTabMenuMarkerPosTabsOnTop).id, c::kCmdTabBarBottom);
    EXPECT_EQ(LastMenu().at(c::kTabMenuCloseAllPosTabsOnTop).id, c::kCmdCloseAll);
    EXPECT_NE(LastMenu().at(c::kTabMenuMarkerPos).id, c::kCmdTabBarBottom);
}

TEST_F(RefHostMenus, MenuLoopReachesTheFrameInOrderAndTheMenuIsGoneAfterwards) {
    auto& h = Start(1);
    const int menusBefore = LiveMenuCount();
    ClearMenuMessages();
    QueueMenuAnswer(c::kCmdNewTab);
    h.RightClickTab(0);

    // Windows' order for a tracked popup: the menu is initialised, the chosen
    // item selected, capture released, the popup uninitialised, the selection
    // ended. Wine releases the loop's capture without telling the frame.
    ASSERT_EQ(TrackedMenus().size(), 1u);
    const auto menu = reinterpret_cast<WPARAM>(TrackedMenus().back().menu);
    const auto seen = MenuMessagesTo(h.Frame());
    std::vector<UINT> order = {WM_INITMENU,       WM_INITMENUPOPUP,   WM_MENUSELECT,
                               WM_CAPTURECHANGED, WM_UNINITMENUPOPUP, WM_MENUSELECT};
    if (!testsupport::IsSim()) order.erase(order.begin() + 3);
    std::vector<UINT> seenOrder;
    for (const auto& m : seen) seenOrder.push_back(m.msg);
    ASSERT_EQ(seenOrder, order);
    EXPECT_EQ(seen[0].wParam, menu);
    EXPECT_EQ(seen[1].wParam, menu);
    EXPECT_EQ(LOWORD(seen[2].wParam), c::kCmdNewTab);
    EXPECT_EQ(seen[seen.size() - 2].wParam, menu);
    EXPECT_EQ(HIWORD(seen.back().wParam), 0xFFFF);
    EXPECT_EQ(LiveMenuCount(), menusBefore);

    // The chosen command arrives after the loop, posted to the frame.
    EXPECT_EQ(h.TabCount(), 1);
    testsupport::PumpFor(0);
    EXPECT_EQ(h.TabCount(), 2);
}

TEST_F(RefHostMenus, PageMenuKindsAreToldByTheirFirstItemsAndTakeExtensionsAtTheirPosition) {
    auto& h = Start(1);
    using K = refhost::PageMenuKind;
    // Each kind: its first item, where the two extensions go, and how many closing items follow them.
    const std::tuple<K, UINT, std::size_t, std::size_t> cases[] = {
        {K::Default, 2282, 20, 2},   {K::Link, 2136, 20, 2},      {K::LinkShort, 2136, 12, 2}, {K::Edit, 43, 7, 2},
        {K::Selection, 16, 6, 0},    {K::HostLink, 0x804C, 14, 2}, {K::HostPage, 0x804C, 9, 0}};
    for (const auto& [kind, first, at, closing] : cases) {
        h.RightClickPage(kind);
        const auto& items = LastMenu();
        SCOPED_TRACE(static_cast<int>(kind));
        ASSERT_EQ(items.size(), at + 2 + closing);
        EXPECT_EQ(items[0].id, first);
        EXPECT_EQ(items[at].id, 3700u);
        EXPECT_EQ(items[at + 1].id, 3701u);
    }
}

// Appends an item the host does not know when a menu opens (as a plugin
// does), and records its state once the host has initialised the popup.
WNDPROC g_frameProc = nullptr;
UINT g_addedState = 0xFFFF;
LRESULT CALLBACK AddingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (msg == WM_INITMENU)
            host::AppendMenuA(reinterpret_cast<HMENU>(wParam), MF_STRING, 168, "Tillwick...");
        LRESULT r = host::CallWindowProcW(g_frameProc, hwnd, msg, wParam, lParam);
        if (msg == WM_INITMENUPOPUP)
            g_addedState = host::GetMenuState(reinterpret_cast<HMENU>(wParam), 168, MF_BYCOMMAND);
        return r;
    } catch (...) {
        return 0;
    }
}

TEST_F(RefHostMenus, OptionsMenuIsMarkedAtPosition13AndGraysCommandsTheHostDoesNotKnow) {
    auto& h = Start();
    const int menusBefore = LiveMenuCount();
    g_frameProc = reinterpret_cast<WNDPROC>(
        host::SetWindowLongPtrW(h.Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AddingProc)));
    g_addedState = 0xFFFF;
    h.OpenOptionsMenu();
    host::SetWindowLongPtrW(h.Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
    EXPECT_EQ(TrackedMenus().back().items.at(c::kOptionsMenuMarkerPos).id,
              c::kCmdOptionsMenu);
    ASSERT_NE(g_addedState, 0xFFFFu);
    EXPECT_NE(g_addedState & MF_GRAYED, 0u);
    // Kept, as a menu bar's submenu is, until the frame closes.
    EXPECT_EQ(LiveMenuCount(), menusBefore + 1);
    h.Close();
    EXPECT_EQ(LiveMenuCount(), menusBefore);
}

TEST_F(RefHostMenus, GroupsMenuOpensAGroupInNewTabsAndQuickSearchEndsItsEnginesWithASeparator) {
    auto& h = Start();
    QueueMenuAnswer(c::kGroupCommandBase + 1);
    h.OpenGroupsMenu();
    testsupport::PumpFor(1000);
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Document(0).GetText("URL"), "http://www.bbc.co.uk/");
    EXPECT_EQ(h.Document(1).GetText("URL"), "http://www.reuters.com/");

    h.OpenSearchMenu();  // three engines, then the clear commands
    EXPECT_EQ(LastMenu().at(3).type & MFT_SEPARATOR, MFT_SEPARATOR);
}

}  // namespace
