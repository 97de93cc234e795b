// The options dialog on real windows: the plugin's button opens it owned by
// the frame, every page is shown, Apply restarts a
// feature while the dialog stays open, Cancel writes nothing, Esc closes.
//
// The dialog is modal: the button's press returns only when it closes. The
// checks run meanwhile, as the steps of a Script.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "e2e/e2e_host.h"
#include "options/options_controls.h"
#include "options/win32/dialog_kit.h"

namespace e2e {
namespace {

namespace ui = tillwick::ui;

HWND OptionsDialog() { return ::FindWindowW(L"#32770", L"Tillwick"); }

HWND Control(HWND dialog, std::string_view name) {
    return ::GetDlgItem(dialog, 100 + tillwick::ControlOf(name));
}

class E2eOptions : public HostTest {
protected:
    bool Open(Script& script) {
        return script.RunWhile([&] { host->PressPluginButton(0); });
    }
    static void Click(HWND control) { ::SendMessageW(control, BM_CLICK, 0, 0); }
    static void ShowPage(HWND dialog, int page) {
        HWND list = Control(dialog, "lstTillwick");
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(page), 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }
};

TEST_F(E2eOptions, TheButtonOpensTheDialogOverTheFrameApplyHidesTheStatusBarCancelWritesNothingEscCloses) {
    StartWithPlugin();
    ASSERT_TRUE(::IsWindowVisible(host->StatusBar()));
    HWND dialog = nullptr;
    Script script;
    script.Add([&] { return (dialog = ShownDialog(L"Tillwick")) != nullptr; });
    script.Then([&] {
        EXPECT_EQ(::GetWindow(dialog, GW_OWNER), host->Frame());
        EXPECT_FALSE(::IsWindowEnabled(Control(dialog, "cmdApply")));
        EXPECT_FALSE(::IsWindowEnabled(host->Frame())) << "a modal dialog disables its owner";
    });
    const char* frames[] = {"fraStartup", "fraAddress", "fraTab",     "fraStatus",
                            "fraPlugin",  "fraMenu",    "fraGeneral", "fraSettings"};
    for (int page = 0; page < 8; ++page) {
        script.Then([&, page] {
            ShowPage(dialog, page);
            EXPECT_TRUE(::IsWindowVisible(Control(dialog, frames[page]))) << frames[page];
        });
    }
    script.Then([&] {
        ShowPage(dialog, 3);
        Click(Control(dialog, "chkHideStatusBar"));
        EXPECT_TRUE(::IsWindowEnabled(Control(dialog, "cmdApply")));
        Click(Control(dialog, "cmdApply"));
    });
    script.Add([&] { return !::IsWindowVisible(host->StatusBar()); });  // the bar goes while the dialog is up
    script.Then([&] {
        EXPECT_TRUE(::IsWindow(dialog));
        EXPECT_FALSE(::IsWindowEnabled(Control(dialog, "cmdApply")));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(Open(script));
    EXPECT_EQ(OptionsDialog(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(host->StatusBar()));
    EXPECT_EQ(::GetActiveWindow(), host->Frame());

    // Cancel and Esc close it again without a write.
    const std::string settings = PluginFolder() + "settings.ini";
    const std::function<void(HWND)> closers[] = {
        [](HWND shown) {
            Click(Control(shown, "chkHideTitle"));
            ::SetWindowTextW(Control(shown, "txtNewTitle"), L"Mine");
            ::PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);  // as the Cancel button reports a click
        },
        [](HWND) { ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); },
    };
    for (const auto& close : closers) {
        std::string before;  // once open: showing a page writes LastTab
        Script closing;
        closing.Add([&] {
            before = FileText(settings);
            return (dialog = OptionsDialog()) != nullptr && ::GetFocus() != nullptr;
        });
        closing.Then([&] { close(dialog); });
        ASSERT_TRUE(Open(closing));
        EXPECT_EQ(OptionsDialog(), nullptr);
        EXPECT_EQ(FileText(settings), before);
    }
}

// Wine runs no HTML engine: the progress bar either shows its page view or
// stays off and the diagnostics report on the Settings page says why.
TEST_F(E2eOptions, TheProgressBarShowsItsViewOrTheReportSaysWhyNot) {
    WriteProfile({{"CustomProgress", "1"}, {"AddressProgress", "1"}});
    StartWithPlugin();
    host->LoadPage("http://www.debian.org/");
    ASSERT_TRUE(PumpUntil([&] { return !host->Loading(0); }, 8000));
    Pump(1500);  // the view's tries to find its page run out
    std::wstring report;
    Script script;
    script.Add([&] { return OptionsDialog() != nullptr; });
    script.Then([&] { ShowPage(OptionsDialog(), 7); });
    script.Then([&] {  // a tick later, once the page has painted
        wchar_t text[2048] = {};
        ::GetWindowTextW(Control(OptionsDialog(), "txtDiagnostic"), text, 2048);
        report = text;
        ::PostMessageW(OptionsDialog(), WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_TRUE(Open(script));
    std::vector<HWND> children;
    ::EnumChildWindows(host->Frame(), &testsupport::CollectWindow, reinterpret_cast<LPARAM>(&children));
    const bool viewShown = std::ranges::any_of(children, [](HWND w) { return ClassOf(w).starts_with("AtlAxWin"); });
    const bool reported = report.find(L"Cannot show the progress bar") != std::wstring::npos;
    std::printf("progress view present: %d; reported: %d\n", viewShown, reported);
    EXPECT_NE(viewShown, reported) << "the bar neither shows its view nor says why it cannot";
    EXPECT_EQ(host->TabCount(), 1);
    EXPECT_TRUE(host->Running());
}

// The panel strip is on with no panels yet: the editor shows the samples.
TEST_F(E2eOptions, ConfigureOpensThePanelEditorWhoseApplyWritesTheRecordsAndRestartsTheStrip) {
    WriteProfile({{"StatusHtml", "1"}, {"StatusHtmlCount", "0"}});
    StartWithPlugin();
    auto strip = [&] { return ::GetDlgItem(host->StatusBar(), 1); };
    ASSERT_TRUE(PumpUntil([&] { return strip() != nullptr && ::IsWindowVisible(strip()); }, 8000))
        << "the strip never came up";
    EXPECT_EQ(host->TabCount(), 1) << "the borrowed tab was not closed";
    HWND dialog = nullptr, editor = nullptr;
    auto row = [&](int r, int column) { return ::GetDlgItem(editor, 100 + r * 10 + column); };
    Script script;
    script.Add([&] { return (dialog = ShownDialog(L"Tillwick")) != nullptr; });
    script.Then([&] {
        ShowPage(dialog, 3);
        EXPECT_TRUE(::IsWindowEnabled(Control(dialog, "cmdStatusHtml")));
        ::PostMessageW(Control(dialog, "cmdStatusHtml"), BM_CLICK, 0, 0);  // the editor's loop runs these steps on
    });
    script.Add([&] { return (editor = ShownDialog(L"Html Addons")) != nullptr; });
    script.Then([&] {
        EXPECT_EQ(::GetWindow(editor, GW_OWNER), dialog);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(editor, 332))) << "Apply before any change";
        EXPECT_EQ(ui::Narrow(ui::WindowTextOf(row(0, 1))), "Mail Notifier");
        ::SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(row(0, 1)), TRUE);
    });
    script.Then([&] {
        Click(::GetDlgItem(editor, 331));  // Down
        Click(row(1, 0));                  // show the moved row
        EXPECT_EQ(ui::Narrow(ui::WindowTextOf(row(1, 1))), "Mail Notifier");
        EXPECT_EQ(ui::Narrow(ui::WindowTextOf(row(0, 1))), "Page Scripts");
        Click(::GetDlgItem(editor, 332));  // Apply
    });
    script.Then([&] {
        EXPECT_NE(Setting("Path1", "StatusHtml").find("MailNotifier.html"), std::string::npos);
        EXPECT_EQ(Setting("Use1", "StatusHtml"), "1");
        EXPECT_EQ(Setting("Use0", "StatusHtml"), "0");
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(editor, 332)));
        ::PostMessageW(row(3, 7), BM_CLICK, 0, 0);  // the fourth row's "...": the system's file chooser
    });
    HWND chooser = nullptr;
    const std::string chosen = PluginFolder() + "Addons\\PageRank\\PageRank.html";
    script.Add([&] { return (chooser = ShownDialog(L"Open")) != nullptr; });
    script.Then([&] {
        HWND name = ::GetDlgItem(chooser, 0x47c);  // the file name box: cmb13 in the Explorer look, else edt1
        if (name == nullptr) name = ::GetDlgItem(chooser, 0x480);
        ::SetWindowTextW(name, ui::Wide(chosen).c_str());
        ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    });
    script.Add([&] { return ::FindWindowW(L"#32770", L"Open") == nullptr; });
    script.Then([&] {  // the row takes the page's path and its add-on meta data; Cancel keeps none of it
        EXPECT_EQ(ui::Narrow(ui::WindowTextOf(row(3, 6))), chosen);
        EXPECT_EQ(ui::Narrow(ui::WindowTextOf(row(3, 1))), "Page Rank");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(editor, 332)));
        ::PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
    });
    script.Add([&] { return ::FindWindowW(L"#32770", L"Html Addons") == nullptr; });
    script.Then([&] { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    ASSERT_TRUE(Open(script));
    EXPECT_EQ(Setting("StatusHtmlCount"), "3");
    // Restarted: the strip is shown again at the bar's right end, one separator and one panel wide.
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(strip()); }, 4000));
    RECT r{};
    ::GetWindowRect(strip(), &r);
    EXPECT_EQ(r.right - r.left, 8 + 25);
}

}  // namespace
}  // namespace e2e
