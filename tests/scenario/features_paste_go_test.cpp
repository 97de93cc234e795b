// Paste and Go on the reference host: right-clicks in the address and search
// boxes, the menu as the user sees it (tracked by the sim), and the messages
// the boxes and the frame receive for each command.
#include "features_fixture.h"

namespace {

using features_test::FeatureOnHost;

constexpr UINT kPasteAndGo = 7;
constexpr UINT kSelectAll = 6;
constexpr UINT kCut = 2;

class PasteGo : public FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        Settings({{"PasteGo", "1"}});
    }
    void Select(HWND edit, int start, int end) { host::SendMessageA(edit, EM_SETSEL, start, end); }
    // The user right-clicks the box (or the combo box); our menu comes up once the message has returned.
    void RightClick(HWND edit) {
        host::SendMessageA(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), 0);
        testsupport::PumpFor(10);
    }
    const host::sim::TrackedMenu& LastMenu() const { return host::sim::TrackedMenus().back(); }
    // Messages the box received from log position `from` on: (message, posted).
    std::vector<std::pair<UINT, bool>> EditGot(HWND edit, std::size_t from) const {
        std::vector<std::pair<UINT, bool>> got;
        const auto& log = host::sim::MessageLog();
        for (std::size_t i = from; i < log.size(); ++i)
            if (log[i].hwnd == edit && (log[i].msg == WM_PASTE || log[i].msg == WM_KEYDOWN))
                got.emplace_back(log[i].msg, log[i].posted);
        return got;
    }
};

TEST_F(PasteGo, TheMenuHasSevenCommandsInOrderWithTheLanguagesTextsAndGrayedByTheBox) {
    host::sim::PutFile(features_test::kPluginFolder + "\\Languages\\Language0000.ini",
                       "[Language]\r\n035=Plak en ga\r\n");
    refhost::Host& h = Start();
    const int menusBefore = host::sim::LiveMenuCount();
    host::sim::SetCursorScreenPos(300, 40);
    RightClick(h.AddressEdit());

    ASSERT_EQ(host::sim::TrackedMenus().size(), 1u);
    const auto& menu = LastMenu();
    EXPECT_EQ(menu.owner, h.AddressEdit());
    EXPECT_EQ(menu.flags, static_cast<UINT>(TPM_RETURNCMD | TPM_RIGHTBUTTON));
    EXPECT_EQ(menu.x, 300);
    EXPECT_EQ(menu.y, 40);
    std::vector<std::string> shown;
    for (const auto& item : menu.items)
        shown.push_back((item.type & MFT_SEPARATOR) ? "-" : std::to_string(item.id) + " " + item.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"1 Undo", "-", "2 Cut", "3 Copy", "4 Paste", "5 Delete", "-",
                                               "6 Select All", "7 Plak en ga"}));
    // Dismissed: nothing happens, and the menu is gone.
    EXPECT_EQ(host::sim::LiveMenuCount(), menusBefore);
    EXPECT_EQ(h.TabCount(), 1);
    // Graying follows the clipboard, the selection and the caret.
    const HWND edit = h.AddressEdit();
    const int length = static_cast<int>(host::sim::WindowText(edit).size());
    ASSERT_GT(length, 0);

    // No clipboard text and the caret at the end, then the caret at the start, then a selection;
    // commands 2 to 7 in the menu's order, '1' grayed.
    for (auto [clip, start, end, grayed] :
         {std::tuple{false, length, length, "111111"}, {true, 0, 0, "110100"}, {true, 0, 4, "000000"}}) {
        host::sim::SetClipboardText(clip ? std::optional<std::string>("http://paste.example/") : std::nullopt);
        Select(edit, start, end);
        RightClick(edit);
        std::string shownGrayed;
        for (const auto& item : LastMenuItems())
            if (item.id >= kCut && item.id <= kPasteAndGo && !(item.type & MFT_SEPARATOR))
                shownGrayed += (item.state & MFS_GRAYED) ? '1' : '0';
        EXPECT_EQ(shownGrayed, grayed);
    }
}

TEST_F(PasteGo, OnlyTheTwoBoxesNotWhileTheModifierIsHeldAndCommandsActOnTheBoxClicked) {
    refhost::Host& h = Start();
    RightClick(h.AddressCombo());
    EXPECT_TRUE(host::sim::TrackedMenus().empty());

    host::sim::SetKeyDown(VK_SHIFT, true);  // the global modifier: the box's own menu
    RightClick(h.AddressEdit());
    EXPECT_TRUE(host::sim::TrackedMenus().empty());

    host::sim::SetKeyDown(VK_SHIFT, false);
    RightClick(h.SearchEdit());
    ASSERT_EQ(host::sim::TrackedMenus().size(), 1u);
    EXPECT_EQ(LastMenu().owner, h.SearchEdit());
    EXPECT_EQ(host::GetFocus(), h.SearchEdit());

    const HWND edit = h.SearchEdit();
    host::SetWindowTextA(edit, "weather today");
    Select(edit, 0, 8);
    host::sim::QueueMenuAnswer(kCut);
    RightClick(edit);
    EXPECT_EQ(LastMenu().owner, edit);
    EXPECT_EQ(host::sim::ClipboardText(), std::optional<std::string>("weather "));
    EXPECT_EQ(host::sim::WindowText(edit), "today");

    host::sim::QueueMenuAnswer(kSelectAll);
    RightClick(edit);
    DWORD start = 1, end = 0;
    host::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
}

// Pasted (sent), then Enter posted behind it: in the current tab, or with
// PasteNew in a new tab once it has opened; a blank page is reused. A script
// address (a page may have put it on the clipboard) is pasted, not gone to.
TEST_F(PasteGo, PasteAndGoNavigatesTheCurrentOrANewTab) {
    const struct {
        const char* pasteNew;
        const char* page;
        std::vector<WPARAM> commands;
        int tab;
        std::string clip = "http://paste.example/";
    } cases[] = {{"0", "http://example.com/", {}, 0},
                 {"1", "http://example.com/", {0x8004}, 1},
                 {"1", "about:blank", {}, 0},
                 {"0", "http://example.com/", {}, 0, "http://paste.example/?javascript:"},
                 {"0", "http://example.com/", {}, 0, " \t\x01JavaScript:alert(1)"},
                 {"0", "http://example.com/", {}, 0, "VBSCRIPT:msgbox(1)"},
                 {"1", "http://example.com/", {0x8004}, 1, "java\tscript:alert(1)"},
                 {"0", "http://example.com/", {}, 0, "Data:Text/HTML,<script>alert(1)</script>"}};
    const std::vector<std::pair<UINT, bool>> pasteThenEnter = {{WM_PASTE, false}, {WM_KEYDOWN, true}};
    const std::vector<std::pair<UINT, bool>> pasteOnly = {{WM_PASTE, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pasteNew) + " " + c.page + " " + c.clip);
        Renew();
        refhost::Host& h = StartWith({{"PasteGo", "1"}, {"PasteNew", c.pasteNew}}, {c.page});
        host::sim::SetClipboardText(c.clip);
        Select(h.AddressEdit(), 0, -1);
        host::sim::QueueMenuAnswer(kPasteAndGo);
        const std::size_t mark = LogMark();
        RightClick(h.AddressEdit());
        EXPECT_EQ(FrameCommands(mark), c.commands);
        if (c.tab != 0) EXPECT_TRUE(EditGot(h.AddressEdit(), mark).empty());  // the tab is still opening
        testsupport::PumpFor(100);
        const bool goes = c.clip.starts_with("http");
        EXPECT_EQ(EditGot(h.AddressEdit(), mark), goes ? pasteThenEnter : pasteOnly);
        EXPECT_EQ(host::sim::WindowText(h.AddressEdit()), c.clip);
        testsupport::PumpFor(900);
        EXPECT_EQ(h.TabCount(), c.tab + 1);
        if (c.tab == 0) EXPECT_TRUE(FrameCommands(mark).empty());
        // The new tab's blank address is replaced, not added to; a script address is not gone to.
        EXPECT_EQ(h.Document(c.tab).GetText("URL").value_or(""), goes ? c.clip : (c.tab == 0 ? c.page : "about:blank"));
    }
}

}  // namespace
