// The context menus on real windows: a tab and a page are right-clicked, an
// entry of each of our submenus is picked with the keyboard, and the host
// carries out its command. Each open submenu is saved as a screenshot.
#include <algorithm>
#include <string>
#include <vector>

#include "e2e/e2e_host.h"
#include "e2e/screenshot.h"
#include "refhost/win32/menu_keys.h"
#include "refhost/win32/page_paint.h"

namespace e2e {
namespace {

// Inside the menu loop, one step per timer tick: open the submenu holding
// the target, then (screenshot taken) choose it.
struct Pick {
    UINT target = 0;
    std::string shot;
    int place = -1;
    bool opened = false, done = false;
};
Pick* g_pick = nullptr;

void CALLBACK DriveMenu(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        Pick* p = g_pick;
        if (p == nullptr || p->done || ::FindWindowA("#32768", nullptr) == nullptr) return;
        if (!p->opened) {
            p->place = refhost::win32::OpenSubmenuHolding(p->target);
            p->opened = p->place >= 0;
            if (!p->opened) ::EndMenu();
            p->done = !p->opened;
            return;
        }
        SaveScreenshot(p->shot);
        refhost::win32::ChooseInOpenSubmenu(p->place);
        p->done = true;
    } catch (...) {
        ::EndMenu();
    }
}

class E2eMenus : public HostTest {
protected:
    void StartWithPlugin() {
        WriteProfile({{"TabMenu", "1"}, {"TabPluginMenu", "1"}, {"TabPluginInclude", "Helper"},
                      {"TabOtherMenu", "1"}, {"TabOtherInclude", "Refresh"}, {"PluginMenu", "1"},
                      {"PluginInclude", "Helper"}, {"ExtensionMenu", "1"}, {"ExtensionInclude", "."},
                      {"OtherMenu", "1"}, {"OtherInclude", "Copy"}});
        StartHost();
        host->OpenTab("http://www.example.com/");
        host->OpenTab("http://www.example.org/");
        pluginsOn = true;
        host->OpenTab("http://www.example.net/");
        ASSERT_NE(host->Plugin(2), nullptr) << "the DLL made no plugin object";
        const HMODULE dll = ::GetModuleHandleA("Tillwick.dll");
        ASSERT_TRUE(PumpUntil([&] { return ModuleOf(WindowProcOf(host->Frame())) == dll && !host->Loading(2); }, 8000))
            << "the plugin did not start";
        Pump(300);
        refhost::win32::PaintPages(*host);
    }
    // Opens a menu, picks `target` from one of its submenus; the commands the host then carried out.
    std::vector<UINT> PickFrom(void (E2eMenus::*open)(), UINT target, const std::string& shot) {
        Pick pick{target, shot};
        g_pick = &pick;
        const std::size_t mark = host->CommandsCarriedOut().size();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, DriveMenu);
        (this->*open)();
        ::KillTimer(nullptr, timer);
        g_pick = nullptr;
        Pump(600);
        EXPECT_TRUE(pick.opened) << "no submenu held " << target;
        return CommandsSince(mark);
    }
    void RightClickTab() { host->RightClickTab(0); }
    void RightClickPage() { host->RightClickPage(refhost::PageMenuKind::Link); }
};

TEST_F(E2eMenus, EntriesOfEachSubmenuReachTheHost) {
    StartWithPlugin();
    struct Case {
        void (E2eMenus::*open)();
        UINT target;
        const char* shot;
    };
    const Case cases[] = {
        {&E2eMenus::RightClickTab, 0x800A, "menus-1-tab-other-options"},          // Refresh
        {&E2eMenus::RightClickTab, 29522, "menus-2-tab-plugins"},                 // Tillwick Helper
        {&E2eMenus::RightClickPage, 3700, "menus-3-page-menu-extensions"},        // Export to Excel
        {&E2eMenus::RightClickPage, 15, "menus-4-page-other-options"},            // Copy
        {&E2eMenus::RightClickPage, 29522, "menus-5-page-plugins"},
        {&E2eMenus::RightClickTab, 0x806A, "menus-6-tab-close-all"},              // Close All Except Current
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.shot);
        const auto carriedOut = PickFrom(k.open, k.target, k.shot);
        EXPECT_NE(std::find(carriedOut.begin(), carriedOut.end(), k.target), carriedOut.end());
    }
    // Close All Except Current: only the active tab is left.
    EXPECT_EQ(host->TabCount(), 1);
}

}  // namespace
}  // namespace e2e
