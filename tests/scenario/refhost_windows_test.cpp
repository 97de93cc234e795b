// The host's windows as a plugin finds them: by class from the top-level frame
// down, the tool bars by their styles, each tab's view and page window.
#include <map>

#include "core/host_contract.h"
#include "support/refhost_fixture.h"

namespace {

namespace c = tillwick::contract;
using namespace refhost_fixture;

class RefHostDiscovery : public HostTest {};

TEST_F(RefHostDiscovery, FrameChildrenAreFoundByClassFromTheTopLevelFrame) {
    auto& h = Start(1);
    HWND frame = host::FindWindowA("IEFrame", nullptr);
    ASSERT_EQ(frame, h.Frame());
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, "MDIClient", nullptr), h.MdiClient());
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, "msctls_statusbar32", nullptr), h.StatusBar());
    EXPECT_EQ(host::FindWindowExA(frame, nullptr, "SysTabControl32", nullptr), h.TabBar());
    EXPECT_NE(host::SendMessageA(h.TabBar(), TCM_GETTOOLTIPS, 0, 0), 0);
}

TEST_F(RefHostDiscovery, ToolbarsAreToldApartByExactlyTheStyleTable) {
    auto& h = Start();
    std::map<std::string, std::vector<HWND>> byRole;
    for (HWND w : Descendants(h.Rebar())) {
        if (ClassOf(w) != "ToolbarWindow32") continue;
        const DWORD style = StyleOf(w) & ~WS_VISIBLE;  // both table values of a row
        const DWORD ex = static_cast<DWORD>(host::GetWindowLongA(w, GWL_EXSTYLE));
        if (style == 0x4400894E && ex == 0x80) byRole["buttons"].push_back(w);
        else if (style == 0x4400994D) byRole["plugins"].push_back(w);
        else if (style == 0x4600894E) byRole["address"].push_back(w);
        else if (style == 0x4600994C) byRole["search"].push_back(w);
        else if (style == 0x4400984E || style == 0x4400994E) byRole["unused"].push_back(w);
        else byRole["other"].push_back(w);
    }
    // The buttons, plugins and search bars are the plugin's own finds on this host (SpineOnReferenceHost).
    EXPECT_EQ(byRole["address"], std::vector<HWND>{h.AddressToolbar()});
    EXPECT_EQ(byRole["unused"].size(), 2u);
    EXPECT_TRUE(byRole["other"].empty());
    EXPECT_EQ(StyleOf(h.ButtonsToolbar()), 0x5400894Eu);
}

TEST_F(RefHostDiscovery, PluginsBarNumbersButtonsByListPositionSkippingDisabledAndNonButtons) {
    refhost::PluginEntry other{"Other", "Other", "2.0", "button", "COM", "other.dll", false, ""};
    refhost::PluginEntry sidebar{"Side", "Side", "1.0", "sidebar", "script", "side.htm", true, ""};
    config.plugins.insert(config.plugins.begin(), {other, sidebar});
    auto& h = Start();
    HWND bar = h.PluginsToolbar();
    EXPECT_EQ(host::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 2);
    // Entries 0 (disabled) and 1 (no button) have none; entries 2 and 3 are buttons 0 and 1.
    for (UINT k = 0; k < 4; ++k)
        EXPECT_EQ(host::SendMessageA(bar, TB_COMMANDTOINDEX, c::kCmdPluginBase + k, 0),
                  k < 2 ? -1 : static_cast<LRESULT>(k) - 2)
            << k;
}

TEST_F(RefHostDiscovery, EachTabIsAnAfxChildHoldingAViewHoldingThePageWindow) {
    auto& h = Start(2);
    std::vector<HWND> tabs;
    for (HWND w : Descendants(h.MdiClient())) {
        const std::string cls = ClassOf(w);
        if (cls.rfind("Afx:400000:8", 0) == 0 && cls.size() > 12) tabs.push_back(w);
    }
    // In z-order, the active tab first.
    ASSERT_EQ(tabs, (std::vector<HWND>{h.TabWindow(1), h.TabWindow(0)}));

    for (int i = 0; i < 2; ++i) {
        HWND view = nullptr, page = nullptr;
        for (HWND w : Descendants(h.TabWindow(i))) {
            if (ClassOf(w) == "Afx:400000:8") view = w;
            if (ClassOf(w) == "Internet Explorer_Server") page = w;
        }
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(host::GetParent(page), view);
    }
}

}  // namespace
