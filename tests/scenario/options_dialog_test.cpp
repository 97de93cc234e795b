// The options dialog's form on the reference host: opening it from the
// plugin's button, its rules (pages, enabling, validation, the hot key) and
// Apply's writes driven by the catalogue.

#include "features_fixture.h"
#include "options/options_apply.h"

namespace {

using namespace tillwick;

class OptionsDialog : public features_test::FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        PluginObject::OptionsDialogHook = nullptr;  // the plugin's own path: the button's notice opens the dialog
    }
    // The host runs with the plugin; its button opens the dialog.
    OptionsForm& Open(const std::vector<std::pair<std::string, std::string>>& settings = {}) {
        Settings(settings);
        Start();
        host->PressPluginButton(0);
        EXPECT_TRUE(tillwick::OptionsDialogMade() && tillwick::OptionsDialogForm().Loaded());
        return OptionsDialogForm();
    }
};

TEST_F(OptionsDialog, ThePluginsButtonOpensOneFormAtTheAddressBarPageWithApplyDisabled) {
    OptionsForm& form = Open();
    EXPECT_EQ(form.Page(), 1u);
    EXPECT_EQ(form.PageNames().at(1), "Address Bar");
    EXPECT_FALSE(form.Get("cmdApply").enabled);
    EXPECT_EQ(form.Get("txtDiagnostic").text, State().DiagnosticsText);
    EXPECT_EQ(form.Get("lblVersion").text.rfind("Version:", 0), 0u);
    EXPECT_TRUE(form.Get("lblVersion").text.ends_with(" 1.0"));
    // Configure follows the HTML panels box.
    for (bool on : {false, true, false}) {
        if (on || form.Get("chkShowHTML").checked) form.UserCheck(ControlOf("chkShowHTML"), on);
        EXPECT_EQ(form.Get("cmdStatusHtml").enabled, on);
    }
    form.SelectPage(6);
    EXPECT_EQ(StoredSetting(Setting::LastTab), "6");
    form.KeyDown(27);  // Esc
    EXPECT_FALSE(form.Loaded());

    // Shown again: the same form, on the page left last. Our own button pressed by the plugin opens nothing.
    host->PressPluginButton(0);
    EXPECT_EQ(&OptionsDialogForm(), &form);
    EXPECT_EQ(form.Page(), 6u);
    form.Unload();
    State().SelfCommandInProgress = true;
    host->PressPluginButton(0);
    EXPECT_FALSE(form.Loaded());
}

// Delays are raised to 100 and hot areas cut to the bars; the hot-key box takes one
// letter, and a wrong one (with a message) leaves the stored key.
TEST_F(OptionsDialog, ValidationCorrectsTheBoxesAndAWrongHotKeyLeavesTheStoredKey) {
    OptionsForm& form = Open({{"OnTopHotKeyVK", "Q"}});
    const int tabBar = State().TabBarHeight, statusBar = State().StatusBarHeight;
    ASSERT_GT(tabBar, 0);
    ASSERT_GT(statusBar, 0);
    struct Case { const char* box; std::string typed; std::string after; std::size_t boxes = 0; };
    for (const Case& c : {Case{"txtTBTimeDelay", "50", "100"}, Case{"txtHoverTime", "99", "100"},
                          Case{"txtSBTimeDelay", "100", "100"}, Case{"txtSBTimeDelay", "soon", "soon"},
                          Case{"txtTBHotArea", std::to_string(tabBar + 1), std::to_string(tabBar)},
                          Case{"txtSBHotArea", std::to_string(statusBar + 5), std::to_string(statusBar)},
                          Case{"txtSBHotArea", "3", "3"}, Case{"txtPreviewZoom", "5", "5"},
                          Case{"txtOnTopHotKey", "m", "M"}, Case{"txtOnTopHotKey", "", ""}, Case{"txtOnTopHotKey", "5", "", 1},
                          Case{"txtOnTopHotKey", "AB", "", 2}, Case{"txtOnTopHotKey", "\xE9", "", 3}}) {
        form.UserEdit(ControlOf(c.box), c.typed);
        form.Validate(ControlOf(c.box));
        EXPECT_EQ(form.Get(c.box).text, c.after) << c.box << " " << c.typed;
        ASSERT_EQ(host::sim::MessageBoxes().size(), c.boxes) << c.box << " " << c.typed;
    }
    const auto& box = host::sim::MessageBoxes().back();
    EXPECT_EQ(box.text, "For A-Z only, please enter again.");
    EXPECT_EQ(box.caption, "Tillwick");
    EXPECT_EQ(box.type, 64u);
    State().StatusBarHeight = 0;  // a bar that was not found: nothing to cut to
    form.UserEdit(ControlOf("txtSBHotArea"), "500");
    form.Validate(ControlOf("txtSBHotArea"));
    EXPECT_EQ(form.Get("txtSBHotArea").text, "500");
    EXPECT_TRUE(form.Get("cmdApply").enabled);
    form.Apply();
    EXPECT_EQ(StoredSetting(Setting::OnTopHotKeyVK), "Q");
}

TEST_F(OptionsDialog, WithoutTheMenuEntryTheButtonStaysAndApplyWritesOnlyThePluginType) {
    OptionsForm& form = Open({{"ShowButton", "0"}});
    EXPECT_TRUE(form.Get("chkShowButton").enabled);
    EXPECT_FALSE(form.Get("chkShowButton").checked);
    // Unticked the button box is forced on; ticked again it is back, set from the stored switch.
    for (const bool inMenu : {false, true}) {
        SCOPED_TRACE(inMenu);
        form.UserCheck(ControlOf("chkShowInMenu"), inMenu);
        EXPECT_EQ(form.Get("chkShowButton").enabled, inMenu);
        EXPECT_EQ(form.Get("chkShowButton").checked, !inMenu);
        form.Apply();
        EXPECT_EQ(ini::ReadString(features_test::kPluginFolder + "\\plugin.ini", "General", "Type", "?"),
                  inMenu ? "M2Plugin_Other" : "M2Plugin_Button");
        EXPECT_EQ(StoredSetting(Setting::ShowButton), "0");
        EXPECT_EQ(StoredSetting(Setting::ShowInMenu), inMenu ? "1" : "0");
        EXPECT_EQ(State().ShowInMenuOn, inMenu);
    }
}

// ---- driven by the catalogue -----------------------------------------------------

// The dialog's defaults as the settings file's documentation gives them, in the catalogue's order ("*": the
// system's text colour).
TEST_F(OptionsDialog, AnEmptyFileIsAppliedAsEveryDialogDefault) {
    std::string defaults =
        "ActivateFirstTab=0;StartOffline=0;StartUpTabLock=0;TabToLock=1;StartPosition=0;StartLeft=112;"
        "StartTop=84;StartWidth=800;StartHeight=600;HighlightCombo=0;HighlightComboText=*;"
        "HighlightComboBack=12776703;CustomProgress=0;AddressProgress=0;PasteGo=0;PasteNew=0;PluginMenu=0;"
        "PluginDropDown=0;PluginInclude=;TabPluginMenu=0;TabPluginDropDown=0;TabPluginInclude=;HidePlugin=0;"
        "HideContextPlugin=0;HideAutoPlugin=0;HideOtherPlugin=0;HidePluginInclude=;HideTabBar=0;TBHotArea=15;"
        "TBTimeDelay=250;HideLastTab=1;TabHoverAction=0;PreviewScrollPos=0;HoverTime=500;PreviewZoom=50;"
        "TabHoverActivate=1;HideTabToolTip=0;HideStatusBar=0;ShowStatusMessage=0;ShowSwitchTab=0;SBHotArea=7;"
        "SBTimeDelay=250;ShowZone=0;StatusBarInfo=0;ShowIcon=0;ShowIP=0;ShowLocation=0;ShowProxy=0;"
        "StatusHtml=0;ShowGroupUrl=0;TabMenu=0;ExtensionMenu=0;ExtensionInclude=;OtherMenu=0;OtherInclude=;"
        "TabOtherMenu=0;TabOtherInclude=;SortSearch=0;SortSearchCustom=0;SortSearchOrder=google|yahoo|msn;"
        "SortSearchAlphabetical=0;HideTitle=0;HideKeyTitle=0;Title=Maxthon Browser;"
        "TitleToHide=movie|music|game;ToggleFilter=0;AlwaysOnTop=0;OnTopLeft=112;OnTopTop=84;OnTopWidth=400;"
        "OnTopHeight=300;OnTopHotKeyVK=M;OnTopHotKeyMOD=Ctrl;LastTabExit=0;OpenGroupConfirm=0;"
        "OpenGroupCount=10;CombineButtons=0;ShowInMenu=1;ShowButton=1;GlobalModifier=Shift;";
    OptionsForm& form = Open();
    form.Apply();
    EXPECT_EQ(tillwick::State().GlobalModifierKey, VK_SHIFT);  // the new key counts at once
    defaults.replace(defaults.find("=*;") + 1, 1, std::to_string(host::GetSysColor(COLOR_WINDOWTEXT)));
    std::string stored;
    for (const SettingRow& row : SettingsCatalogue()) {
        const std::string key(row.KeyWritten());
        if (row.kind != SettingKind::Hidden) stored += key + "=" + StoredValue(key) + ";";
    }
    EXPECT_EQ(stored, defaults);
    const std::string file = host::fs::ReadFile(features_test::kPluginFolder + "\\settings.ini").value_or("");
    EXPECT_NE(file.find("StartOffline=0"), std::string::npos);
    EXPECT_FALSE(form.Get("cmdApply").enabled);
}

TEST_F(OptionsDialog, EveryOtherValueLoadsAndIsWrittenBackAsItWas) {
    // A value unlike the dialog's default for every key the dialog shows.
    std::vector<std::pair<std::string, std::string>> values;
    for (const SettingRow& row : SettingsCatalogue()) {
        std::string v;
        switch (row.kind) {
        case SettingKind::Switch: v = row.dialogDefault == "1" ? "0" : "1"; break;
        case SettingKind::OptionPair: v = std::string(row.pairValue); break;
        case SettingKind::Colour: v = "4210752"; break;
        case SettingKind::Combo: v = row.dialogDefault == "Shift" ? "Ctrl" : "Shift"; break;
        case SettingKind::Number: v = "123"; break;
        case SettingKind::Text: v = row.id == Setting::OnTopHotKeyVK ? "Q" : "a|b"; break;
        case SettingKind::Hidden: continue;
        }
        values.emplace_back(std::string(row.KeyWritten()), v);
    }
    OptionsForm& form = Open(values);
    EXPECT_TRUE(form.Get("optAddressProgress").checked);
    EXPECT_FALSE(form.Get("optStatusProgress").checked);
    EXPECT_TRUE(form.Get("optHideTabBar").checked);
    EXPECT_TRUE(form.Get("optTabPreview").checked);
    host::fs::DeleteFile(features_test::kPluginFolder + "\\settings.ini");
    form.Apply();
    for (const auto& [key, value] : values) {
        // The button switch is kept as stored while the menu entry is off (it is forced on then).
        if (key == "ShowButton") continue;
        EXPECT_EQ(StoredValue(key), value) << key;
    }
}

TEST_F(OptionsDialog, OpeningLeavesAlwaysOnTopAndApplyRegistersTheNewHotKey) {
    StartWith({{"AlwaysOnTop", "1"}});
    ASSERT_TRUE(State().OnTopDispatch);
    host::SendMessageA(host->Frame(), WM_HOTKEY, 138, 0);
    ASSERT_TRUE(tillwick::OnTopData().Active);
    host->PressPluginButton(0);
    EXPECT_FALSE(tillwick::OnTopData().Active);
    OptionsForm& form = OptionsDialogForm();
    form.UserEdit(ControlOf("txtOnTopHotKey"), "k");
    form.Validate(ControlOf("txtOnTopHotKey"));
    form.UserEdit(ControlOf("cboOnTopHotKey"), "Alt");
    form.Apply();
    EXPECT_TRUE(State().OnTopDispatch);
    EXPECT_EQ(OnTopKey(), 'K');
    EXPECT_EQ(OnTopModifiers(), MOD_ALT);
}

}  // namespace
