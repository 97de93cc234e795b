// The context menus on real windows: a tab and a page are right-clicked, an
// entry of each of our submenus is picked with the keyboard, and the host
// carries out its command.
#include <algorithm>
#include <string>
#include <vector>

#include "e2e/e2e_host.h"
#include "refhost/win32/menu_keys.h"

namespace e2e {
namespace {

class E2eMenus : public HostTest {
protected:
    // Opens a menu, picks `target` from one of its submenus; the commands the host then carried out.
    // Inside the menu loop: the submenu holding the target is opened (again while the wrong item
    // is selected), then the target is chosen.
    std::vector<UINT> PickFrom(bool tabMenu, UINT target) {
        refhost::win32::SubmenuPick plan{};
        int tries = 0;
        bool opened = false;
        Script script;
        script.Add([&] {
            if (OpenPopupMenu() == nullptr) return false;
            if (!plan.top) plan = refhost::win32::PlanSubmenuPick(target);
            opened = refhost::win32::PlannedItemSelected(plan);
            if (opened) {
                refhost::win32::ChooseInOpenSubmenu(plan);
            } else if (!plan.top || ++tries > 6) {  // about a second of tries
                ::EndMenu();
            } else {
                refhost::win32::OpenPlannedSubmenu(plan);
                return false;
            }
            return true;
        });
        const std::size_t mark = host->CommandsCarriedOut().size();
        // The pointer away from where the menu opens: hovering selects items too.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        script.RunWhile([&] {
            if (tabMenu)
                host->RightClickTab(0);
            else
                host->RightClickPage(refhost::PageMenuKind::Link);
        });
        Pump(600);
        EXPECT_TRUE(opened) << "no submenu held " << target;
        const auto& all = host->CommandsCarriedOut();
        return std::vector<UINT>(all.begin() + static_cast<std::ptrdiff_t>(mark), all.end());
    }
};

TEST_F(E2eMenus, EntriesOfEachSubmenuReachTheHost) {
    WriteProfile({{"TabMenu", "1"}, {"TabPluginMenu", "1"}, {"TabPluginInclude", "Helper"},
                  {"TabOtherMenu", "1"}, {"TabOtherInclude", "Refresh"}, {"PluginMenu", "1"},
                  {"PluginInclude", "Helper"}, {"ExtensionMenu", "1"}, {"ExtensionInclude", "."},
                  {"OtherMenu", "1"}, {"OtherInclude", "Copy"}});
    StartHost();
    host->OpenTab("http://www.example.com/");
    host->OpenTab("http://www.example.org/");
    StartWithPlugin("http://www.example.net/");
    struct Case {
        bool tabMenu;
        UINT target;
    };
    const Case cases[] = {
        {true, 0x806A},   // the tab menu's Close All Except Current
        {true, 0x800B},   // its other options: Refresh
        {true, 29522},    // its plugins: Tillwick Helper
        {false, 3700},    // the page menu's extensions: Export to Excel
        {false, 15},      // its other options: Copy
        {false, 29522},   // its plugins
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << (k.tabMenu ? "tab menu " : "page menu ") << k.target);
        const auto carriedOut = PickFrom(k.tabMenu, k.target);
        EXPECT_NE(std::find(carriedOut.begin(), carriedOut.end(), k.target), carriedOut.end());
    }
    // Close All Except Current: only the active tab is left.
    EXPECT_EQ(host->TabCount(), 1);
}

}  // namespace
}  // namespace e2e
