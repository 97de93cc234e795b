// The window features on real windows: what a user sees of the Paste and Go
// menu, the hidden plugin buttons, the address highlight and the status line.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/e2e_host.h"

namespace e2e {
namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

using E2eFeatures = HostTest;

// ---- Paste and Go ---------------------------------------------------------------------------

TEST_F(E2eFeatures, RightClickInTheAddressBoxShowsPasteAndGoWhichLoadsTheClipboardsAddress) {
    WriteProfile({{"PasteGo", "1"}});
    StartWithPlugin();
    const wchar_t pasted[] = L"http://pasted.example/";
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    ASSERT_NE(memory, nullptr);
    std::memcpy(::GlobalLock(memory), pasted, sizeof pasted);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
    const HWND edit = host->AddressEdit();
    ::SendMessageA(edit, EM_SETSEL, 0, -1);  // the address selected, as a click into the box leaves it
    RECT r{};
    ::GetWindowRect(edit, &r);
    ::SetCursorPos(r.left + 20, (r.top + r.bottom) / 2);

    std::vector<std::string> texts, grayed;
    Script script;
    script.Add([&] {  // reads the menu once it is up and picks its last item as a keyboard user does
        HWND popup = OpenPopupMenu();
        if (popup == nullptr) return false;
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, kMenuGetHandle, 0, 0));
        for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            if (text[0] != '\0') texts.push_back(text);
            if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) grayed.push_back(text);
        }
        ::PostMessageA(popup, WM_KEYDOWN, VK_UP, 0);  // up from no selection, Enter
        ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    });
    const bool seen = script.RunWhile([&] {
        ::PostMessageA(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2));
    }, 5000);
    const bool loaded = PumpUntil(
        [&] { return host->Document(0).GetText("URL").value_or("") == "http://pasted.example/"; }, 5000);

    ASSERT_TRUE(seen) << "no popup menu opened";
    EXPECT_EQ(texts, (std::vector<std::string>{"Undo", "Cut", "Copy", "Paste", "Delete", "Select All", "Paste and Go"}));
    for (const char* item : {"Paste", "Paste and Go"})
        EXPECT_EQ(std::find(grayed.begin(), grayed.end(), item), grayed.end()) << item << " is grayed";
    EXPECT_TRUE(loaded) << "the page did not go to the pasted address; it is at "
                        << host->Document(0).GetText("URL").value_or("?");
    EXPECT_EQ(host->TabCount(), 1) << "Paste and Go opened a tab";
}

// ---- plugin hiding --------------------------------------------------------------------------

UINT PluginBandIdealWidth(HWND rebar) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_IDEALSIZE;
    const LRESULT index = ::SendMessageA(rebar, RB_IDTOINDEX, 33045, 0);
    ::SendMessageA(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    return band.cxIdeal;
}

TEST_F(E2eFeatures, PluginsBarLosesTheHiddenButtonAndItsBandNarrowsUntilThePluginEnds) {
    WriteProfile({{"HidePlugin", "1"}, {"HideOtherPlugin", "1"}, {"HidePluginInclude", "helper"}});
    StartHost();
    const UINT fullWidth = PluginBandIdealWidth(host->Rebar());
    StartWithPlugin();
    const HWND bar = host->PluginsToolbar();
    const WPARAM ownButton = 29521, helperButton = 29522;
    EXPECT_TRUE(PumpUntil([&] { return ::SendMessageA(bar, TB_ISBUTTONHIDDEN, helperButton, 0) != 0; }, 5000));
    EXPECT_EQ(::SendMessageA(bar, TB_ISBUTTONHIDDEN, ownButton, 0), 0);
    const UINT ideal = PluginBandIdealWidth(host->Rebar());
    EXPECT_LT(ideal, fullWidth);
    EXPECT_GT(ideal, 0u);
    // Closing the last tab ends the plugin: the bar gets its button and width back.
    host->CloseTab();
    EXPECT_TRUE(PumpUntil([&] { return ::SendMessageA(bar, TB_ISBUTTONHIDDEN, helperButton, 0) == 0; }, 5000));
    EXPECT_EQ(PluginBandIdealWidth(host->Rebar()), fullWidth);
}

// ---- address highlight ----------------------------------------------------------

TEST_F(E2eFeatures, ASecurePageHighlightsTheAddressBoxInTheChosenColours) {
    WriteProfile({{"HighlightCombo", "1"}, {"HighlightComboBack", "255"}, {"HighlightComboText", "16777215"}});
    StartWithPlugin("https://bank.example/");
    const HWND overlay = ::FindWindowExA(host->AddressCombo(), nullptr, "#32770", nullptr);
    ASSERT_NE(overlay, nullptr) << "no overlay in the address box";
    EXPECT_TRUE(PumpUntil([&] { return Visible(overlay); }, 3000)) << "the lock is not shown";
    ::RedrawWindow(host->AddressEdit(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(200);
    RECT client{};
    ::GetClientRect(host->AddressEdit(), &client);
    const HDC dc = ::GetDC(host->AddressEdit());
    const COLORREF background = ::GetPixel(dc, client.right - 4, client.bottom / 2);
    ::ReleaseDC(host->AddressEdit(), dc);
    EXPECT_EQ(background, RGB(255, 0, 0)) << "the address box is not painted in the chosen back colour";
    host->LoadPage("http://plain.example/");
    EXPECT_TRUE(PumpUntil([&] { return !Visible(overlay); }, 3000)) << "the lock stays on a plain page";
}

// ---- status-bar information ---------------------------------------------------------------

TEST_F(E2eFeatures, StatusInfoLineShowsTheZoneAndTheLocalAddressOfALocalhostPage) {
    WriteProfile({{"StatusBarInfo", "1"}, {"ShowZone", "1"}, {"ShowIP", "1"}, {"ShowProxy", "1"}, {"ShowIcon", "1"}});
    StartWithPlugin("about:blank");
    host->OpenTab("http://localhost/");  // its plugin object hooks the status bar
    const HWND status = host->StatusBar();
    auto text = [&] {
        char buffer[256] = {};
        ::SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
        return std::string(buffer);
    };
    EXPECT_TRUE(PumpUntil([&] { return text().find("IP Address:  127.0.0.1") != std::string::npos; }, 8000))
        << "status text: " << text();
    EXPECT_NE(::FindWindowExA(status, nullptr, "Static", nullptr), nullptr) << "no zone icon window";
}

}  // namespace
}  // namespace e2e
