// Tab commands, each sent as WM_COMMAND to the frame the way a plugin sends
// them, and each tab's windows as a plugin finds them.
#include "core/host_contract.h"
#include "support/refhost_fixture.h"

namespace {

namespace c = tillwick::contract;
using namespace refhost_fixture;

class RefHostTabs : public HostTest {};

TEST_F(RefHostTabs, LockedTabDoesNotCloseAndAClosedMdiChildClosesItsTabThroughTheHost) {
    auto& h = Start(1);
    h.Command(c::kCmdLockTab);
    TCITEMA item{.mask = TCIF_IMAGE};
    host::SendMessageA(h.TabBar(), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, c::kLockedTabImage);
    h.Command(c::kCmdCloseTab);
    EXPECT_EQ(h.TabCount(), 1);
    h.Command(c::kCmdLockTab);  // unlock
    h.Command(c::kCmdCloseTab);
    EXPECT_EQ(h.TabCount(), 0);

    // Closing an MDI child closes its tab through the host.
    h.OpenTab();
    h.OpenTab();
    host::SendMessageA(h.TabWindow(0), WM_CLOSE, 0, 0);
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_EQ(host::SendMessageA(h.TabBar(), TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(*released, (std::vector<int>{1, 2}));  // the first tab's object, then the closed child's
}

TEST_F(RefHostTabs, CloseCommandsOfTheTabMenuCloseTheirTabs) {
    auto& h = Start();
    h.OpenTab("http://a.example.com/1");
    h.OpenTab("http://b.example.com/1");
    h.OpenTab("http://a.example.com/2");
    h.OpenTab();
    testsupport::PumpFor(1000);
    h.ActivateTab(2);
    h.Command(c::kCmdCloseBlankAndError);  // the about:blank tab
    EXPECT_EQ(h.TabCount(), 3);
    h.Command(c::kCmdCloseAllButSameSite);  // b.example.com
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Document(0).GetText("URL"), "http://a.example.com/1");
    h.Command(c::kCmdCloseLeft);
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_EQ(h.Document(0).GetText("URL"), "http://a.example.com/2");
}

class RefHostDiscovery : public HostTest {};

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
