// The DLL's life in the host: tabs come and go in either release order while
// the plugin stays on, and after the last object nothing calls into the DLL,
// so that it can be unloaded under a running browser; unless another add-on
// hooked a window after it, and then the DLL stays for that add-on's chain.
#include <map>
#include <memory>
#include <string>

#include "e2e/e2e_host.h"
#include "refhost/other_addon.h"

namespace e2e {
namespace {

// Mouse moves over the host's windows and caption reads, as a running browser gets them.
void KeepBusy(refhost::Host& h, int rounds) {
    RECT frame{};
    ::GetWindowRect(h.Frame(), &frame);
    for (int i = 0; i < rounds; ++i) {
        const int x = frame.left + 20 + (i * 17) % (frame.right - frame.left - 40);
        const int y = frame.top + 40 + (i * 29) % (frame.bottom - frame.top - 60);
        ::SetCursorPos(x, y);
        for (HWND w : {h.Frame(), h.StatusBar(), h.TabBar(), h.MdiClient()})
            ::PostMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        ::SendMessageA(h.Frame(), WM_GETTEXTLENGTH, 0, 0);
        Pump(50);
    }
}

class E2eLifetime : public HostTest, public ::testing::WithParamInterface<refhost::ReleaseOrder> {
protected:
    E2eLifetime() { releaseOrder = GetParam(); }
};

TEST_P(E2eLifetime, ClosingATabKeepsThePluginOnAndTheLastObjectTakesEverythingWithIt) {
    WriteProfile({{"HideTabBar", "1"}, {"HideLastTab", "1"}, {"AlwaysOnTop", "1"}, {"HideStatusBar", "1"}});
    StartHost();
    std::map<HWND, LONG_PTR> before;  // the windows the plugin hooks, with their procedures before it started
    for (HWND w : {host->Frame(), host->MdiClient(), host->StatusBar(), host->TabBar(), host->Rebar(),
                   host->AddressCombo(), host->AddressEdit()})
        before[w] = WindowProcOf(w);
    ASSERT_NO_FATAL_FAILURE(StartWithPlugin());
    const HWND tabs = host->TabBar();
    ASSERT_TRUE(PumpUntil([&] { return !Visible(tabs); }, 5000)) << "one tab, but the tab bar is shown";

    for (int round = 0; round < 2; ++round) {
        host->OpenTab("http://www.debian.org/");
        EXPECT_TRUE(PumpUntil([&] { return Visible(tabs); }, 3000)) << "round " << round;
        host->CloseTab();
        EXPECT_TRUE(PumpUntil([&] { return !Visible(tabs); }, 3000))
            << "round " << round << ": one tab again, but the tab bar stays";
        EXPECT_EQ(ModuleOf(WindowProcOf(host->Frame())), dll) << "a closed tab took the hooks";
    }

    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    host->CloseTab();
    Pump(300);
    // The host's own procedure again (a built-in class may come back in its
    // other character set's flavour, which lives in the same module).
    for (const auto& [window, proc] : before)
        EXPECT_EQ(ModuleOf(WindowProcOf(window)), ModuleOf(proc)) << "a procedure not restored: " << ClassOf(window);
    EXPECT_EQ(WindowProcOf(host->Frame()), before.at(host->Frame())) << "the host's frame procedure was not put back";
    EXPECT_EQ(CanUnloadNow(), S_OK) << "the last release left something behind";

    // The browser frees the DLL and goes on: moves over its windows reach only its own procedures.
    host->DropPluginFactory();
    EXPECT_EQ(::GetModuleHandleA("Tillwick.dll"), nullptr) << "the DLL stayed loaded";
    KeepBusy(*host, 40);
    EXPECT_TRUE(host->Running());
    host->OpenTab("http://www.example.org/");
    Pump(300);
    EXPECT_EQ(host->Plugin(host->ActiveTab()), nullptr);
}

// Another add-on hooks the frame after the plugin and removes its hook only
// after the plugin's release, putting back the DLL's procedure it replaced.
// Its chain holds meanwhile, and the DLL stays loaded for that procedure.
using E2eOtherAddOn = HostTest;

TEST_F(E2eOtherAddOn, AHookAfterOursOutlivesTheReleaseAndTheDllStaysForIt) {
    WriteProfile({{"HideStatusBar", "1"}});
    ASSERT_NO_FATAL_FAILURE(StartWithPlugin());
    const HWND frame = host->Frame();
    // What the frame's own procedure answers: the length of its caption.
    const auto captionLength = [frame] {
        WCHAR text[256] = {};
        return static_cast<LRESULT>(::InternalGetWindowText(frame, text, 256));
    };
    auto hook = std::make_unique<refhost::OtherAddOnHook>(frame);

    host->CloseTab();
    Pump(300);
    EXPECT_EQ(CanUnloadNow(), S_OK);
    host->DropPluginFactory();
    if (::GetModuleHandleA("Tillwick.dll") != dll) {
        (void)hook.release();  // its removal would put a freed procedure on the frame
        FAIL() << "the DLL was freed while another add-on's hook still leads to its procedure";
    }
    const int seen = hook->MessagesSeen();
    EXPECT_EQ(::SendMessageA(frame, WM_GETTEXTLENGTH, 0, 0), captionLength());
    EXPECT_GT(hook->MessagesSeen(), seen) << "the other add-on's hook was cut off";

    hook->Remove();
    EXPECT_EQ(ModuleOf(WindowProcOf(frame)), dll);
    KeepBusy(*host, 20);
    EXPECT_EQ(::SendMessageA(frame, WM_GETTEXTLENGTH, 0, 0), captionLength());
    EXPECT_TRUE(host->Running());
}

INSTANTIATE_TEST_SUITE_P(ReleaseOrders, E2eLifetime,
                         ::testing::Values(refhost::ReleaseOrder::AfterWindows, refhost::ReleaseOrder::BeforeWindows),
                         [](const auto& info) { return info.index == 0 ? "ObjectAfterWindows" : "ObjectFirst"; });

}  // namespace
}  // namespace e2e
