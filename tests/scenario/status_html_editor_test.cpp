// The panel editor's form: loading the list (the samples when it is empty,
// meta data read from the pages), moving rows, the boxes' corrections, and
// saving with the records numbered afresh.
#include <gtest/gtest.h>

#include "core/state.h"
#include "host/sim/sim.h"
#include "options/options_dialog.h"
#include "options/options_form.h"
#include "settings/settings_catalogue.h"
#include "settings/settings_files.h"
#include "statushtml/panel_editor.h"
#include "statushtml/status_html_state.h"

namespace {

using namespace tillwick;

const std::string kFolder = "C:\\Maxthon\\Plugin\\Tillwick";

class PanelEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::sim::Reset();
        ResetState();
        SetPluginFolder(kFolder);
        State().StatusBarHeight = 22;
    }
    void TearDown() override { ResetState(); }
    static void Settings(const std::string& general, const std::string& panels) {
        host::sim::PutFile(kFolder + "\\settings.ini", "[General]\r\n" + general + "[StatusHtml]\r\n" + panels);
    }
    static std::string Panel(PanelField f, int i) { return StoredPanelSetting(f, i); }
    PanelEditorForm form;
};

TEST(AddonMeta, ReadsTheValueAfterTheKeysFirstEqualsSign) {
    struct Case { const char* html; const char* value; };
    for (const Case& c : {Case{"<meta name=\"Addon-Name\" content=\"Mail &amp; News\">", "Mail & News"},
                          Case{"<META NAME='addon-name' CONTENT='Single'>", "Single"},
                          Case{"<meta name=Addon-Name content=  bare  >", "bare"},
                          Case{"<meta name=\"Addon-Name\">", ""},
                          Case{"<meta name=\"Addon-Name\" content=\"x\"", ""},
                          Case{"<meta name=\"Other\" content=\"x\">", ""}})
        EXPECT_EQ(ReadAddonMeta("Addon-Name", c.html), c.value) << c.html;
    for (auto [path, name] : {std::pair{"C:\\a\\Mail.HTML", "Mail"}, {"Rank.htm", "Rank"},
                              {"C:\\a.htm\\x.htm.htm", "x.htm"}, {"C:\\a\\plain.txt", "plain.txt"}})
        EXPECT_EQ(NameFromPath(path), name) << path;
}

TEST_F(PanelEditorTest, LoadSkipsRecordsWithoutPathAndMissingPagesGiveNoMetaData) {
    host::sim::PutFile("C:\\p\\a.html", "<meta name='Addon-Name' content='Mail'><meta name='Addon-Author' content='Ann'>"
                                       "<meta name='addon-width' content='44'>");
    Settings("StatusHtmlCount=4\r\n",
             "Path0=\r\nUse1=1\r\nPath1=C:\\p\\a.html\r\nPath2=C:\\p\\gone.html\r\nName3=Web\r\nPath3=http://x/\r\n");
    form.Load();
    EXPECT_EQ(form.rows[0].path, "C:\\p\\a.html");
    EXPECT_TRUE(form.rows[0].use);
    EXPECT_EQ(form.rows[0].name + "|" + form.rows[0].author + "|" + form.rows[0].width, "Mail|Ann|44");
    EXPECT_EQ(form.rows[1].name + "|" + form.rows[1].author + "|" + form.rows[1].width + "|" + form.rows[1].offset,
              "gone||80|0");
    EXPECT_EQ(form.rows[2].name, "Web");
}

TEST_F(PanelEditorTest, RowsMoveWithinTheTenAndClearedPathsAreDroppedWhenSaving) {
    Settings("StatusHtmlCount=3\r\n", "Path0=C:\\a.html\r\nPath1=C:\\b.html\r\nUse2=1\r\nPath2=C:\\c.html\r\n");
    form.Load();
    form.rows[9] = {false, "Last", "", "", "10", "0", "C:\\z.html"};
    form.NameFocused(9);
    EXPECT_TRUE(form.upEnabled);
    EXPECT_FALSE(form.dnEnabled);
    EXPECT_FALSE(form.Move(+1));
    form.NameFocused(0);
    EXPECT_FALSE(form.upEnabled);
    EXPECT_TRUE(form.Move(+1));
    EXPECT_EQ(form.selected, 1);
    EXPECT_EQ(form.rows[0].name + form.rows[1].name, "ba");
    form.rows[0].path.clear();
    form.Apply();
    EXPECT_EQ(SettingText(Setting::StatusHtmlCount), "3");
    EXPECT_EQ(Panel(PanelField::Path, 0) + Panel(PanelField::Path, 1) + Panel(PanelField::Path, 2),
              "C:\\a.htmlC:\\c.htmlC:\\z.html");
    EXPECT_EQ(Panel(PanelField::Use, 1) + Panel(PanelField::Use, 3) + Panel(PanelField::Path, 3), "1");
    EXPECT_TRUE(tillwick::OptionsDialogMade() && tillwick::OptionsDialogForm().Get("chkShowHTML").checked);
    form.FileChosen(4, "C:\\unreadable.html");  // the path changed: Apply can store it
    EXPECT_EQ(form.rows[4].path, "C:\\unreadable.html");
    EXPECT_TRUE(form.applyEnabled);
}

// Corrected on leaving the box, and by OK pressed with Enter while still in it.
TEST_F(PanelEditorTest, HeightAndSeparatorBoxesAreCorrectedAndACorrectionEnablesApply) {
    struct Case { const char* height; const char* sep; const char* heightAfter; const char* sepAfter; };
    Settings("", "");
    for (const Case& c : {Case{"15", "3", "20", "6"}, Case{"0", "0", "0", "0"}, Case{"30", "12", "22", "10"},
                          Case{"21", "7", "21", "7"}, Case{"22", "11", "22", "10"}, Case{"x", "-1", "x", "-1"},
                          Case{"19", "6", "20", "6"}, Case{"20", "10", "20", "10"}}) {
        const bool corrected = std::string(c.height) != c.heightAfter || std::string(c.sep) != c.sepAfter;
        form.Activate();
        form.height = c.height;
        form.sepWidth = c.sep;
        form.ValidateHeight();
        form.ValidateSepWidth();
        EXPECT_EQ(form.height + "/" + form.sepWidth, std::string(c.heightAfter) + "/" + c.sepAfter) << c.height;
        EXPECT_EQ(form.applyEnabled, corrected) << c.height;
        form.height = c.height;
        form.sepWidth = c.sep;
        State().SecurityId = "id";  // the strip can start: OK restarts it only after a correction
        StatusHtmlData().Height = 0;
        form.Ok();
        EXPECT_EQ(StatusHtmlData().Height != 0, corrected) << c.height;
        EXPECT_EQ(SettingText(Setting::StatusHtmlHeight) + "/" + SettingText(Setting::StatusHtmlSepWidth),
                  std::string(c.heightAfter) + "/" + c.sepAfter) << c.height;
    }
}

}  // namespace
