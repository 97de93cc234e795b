// The host's plugin list and the diagnostics text.
#include <array>
#include <memory>

#include "core/plugin_registry.h"
#include "core/text_pattern.h"
#include "core/wrapper.h"
#include "scenario/spine_fixture.h"

namespace spine {
namespace {

using tillwick::State;

// Start-up keeps the host folder in lower case; the paths in the list start with it.
const std::string kLowerHost = "c:\\program files\\maxthon2\\";
std::string Listed(const std::string& path) { return kLowerHost + path.substr(kHostFolder.size()); }

class SpineRegistry : public SpineTest {
protected:
    void SetUp() override {
        SpineTest::SetUp();
        State().HostFolder = kLowerHost;
        tillwick::SetPluginFolder(kPluginFolder);
    }
    std::vector<std::string> Scan(const std::string& languageId = "") {
        State().LanguageId = languageId;
        tillwick::ScanHostPlugins();
        return State().HostPluginList;
    }
};

// The switch file and the descriptions found give the list (a description
// file per enabled entry, "" where none is found) and the button numbers.
struct ScanCase {
    const char* name;
    std::vector<std::array<const char*, 4>> descriptions;  // folder, name, type, file
    const char* switchFile;                                 // nullptr: no file
    const char* languageId;
    std::vector<std::string> listed;  // below the Plugin folder
    int own, companion;
};

class SpineRegistryScan : public SpineRegistry, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(SpineRegistryScan, ListsTheEnabledEntriesAndNumbersTheButtons) {
    const ScanCase& c = GetParam();
    for (const auto& [folder, name, type, file] : c.descriptions) Description(folder, name, type, "", file);
    if (c.switchFile) SwitchFile(c.switchFile);
    else host::fs::DeleteFile(kHostFolder + "Config\\Plugins.ini");
    std::vector<std::string> expected;
    for (const std::string& path : c.listed) expected.push_back(path.empty() ? "" : kLowerHost + "Plugin\\" + path);
    State().OwnCommandId = State().CompanionCommandId = 1;  // stale ids from an earlier scan do not survive
    EXPECT_EQ(Scan(c.languageId), expected);
    EXPECT_EQ(State().OwnCommandId, c.own);
    EXPECT_EQ(State().CompanionCommandId, c.companion);
}

const char* const kAlphaBeta = "[MyIEPlugins]\r\nAlpha1.0=1\r\nBeta1.0=0\r\nTillwick1.0=1\r\n[IEPlugins]\r\nGamma1.0=1\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, SpineRegistryScan,
    ::testing::Values(
        ScanCase{"OwnButtonThird", {{"A", "Alpha", "COM|Button", "plugin.ini"}, {"B", "Beta", "COM|Button", "plugin.ini"}},
                 kAlphaBeta, "", {"A\\plugin.ini", "", "Tillwick\\plugin.ini"}, 29523, 0},
        // Entries without a description keep the numbering aligned; comments and nameless lines are no entries.
        ScanCase{"UndescribedEntriesCount",
                 {{"Helper", "Tillwick Helper", "button", "plugin.ini"}},
                 "[myieplugins]\r\nGone2.0=1\r\n; a comment line\r\n=1\r\nTillwick Helper1.0=1\r\nTillwick1.0=1\r\n",
                 "", {"", "Helper\\plugin.ini", "Tillwick\\plugin.ini"}, 29523, 29522},
        ScanCase{"LocalizedDescriptionWins",
                 {{"A", "Alpha", "button", "plugin.ini"}, {"A", "Alpha", "button", "plugin2052.ini"}},
                 "[MyIEPlugins]\r\nAlpha1.0=1\r\n", "2052", {"A\\plugin2052.ini"}, 0, 0},
        ScanCase{"OtherLanguageTakesThePlainOne",
                 {{"A", "Alpha", "button", "plugin.ini"}, {"A", "Alpha", "button", "plugin2052.ini"}},
                 "[MyIEPlugins]\r\nAlpha1.0=1\r\n", "1031", {"A\\plugin.ini"}, 0, 0},
        // Only entries switched on whose description says button give command ids.
        ScanCase{"ButtonTypesOnly",
                 {{"Tillwick", "Tillwick", "COM", "plugin.ini"},
                  {"Helper", "Tillwick Helper", "Script|BUTTON", "plugin.ini"}},
                 "[MyIEPlugins]\r\nTillwick1.0=1\r\nTillwick Helper1.0=1\r\n", "",
                 {"Tillwick\\plugin.ini", "Helper\\plugin.ini"}, 0, 29522},
        ScanCase{"CompanionSwitchedOff",
                 {{"Tillwick", "Tillwick", "COM", "plugin.ini"},
                  {"Helper", "Tillwick Helper", "Script|BUTTON", "plugin.ini"}},
                 "[MyIEPlugins]\r\nTillwick1.0=1\r\nTillwick Helper1.0=2\r\n", "", {"Tillwick\\plugin.ini", ""}, 0, 0},
        ScanCase{"LineFeedOnly", {}, "[MyIEPlugins]\nAlpha1.0=1\nTillwick1.0=1\n[IEPlugins]\n", "",
                 {"", "Tillwick\\plugin.ini"}, 29522, 0},
        ScanCase{"NoMyIePluginsSection", {}, "[IEPlugins]\r\nTillwick1.0=1\r\n", "", {}, 0, 0},
        ScanCase{"SectionLineWithoutBreak", {}, "[MyIEPlugins]", "", {}, 0, 0},
        ScanCase{"NoSwitchFile", {}, nullptr, "", {}, 0, 0}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

// Every tab scans again; the descriptions are kept for the process and read
// again when a folder, a description or the switch file changed.
TEST_F(SpineRegistry, AChangedPluginFolderOrListIsReadAgain) {
    using List = std::vector<std::string>;
    const std::string a = Description("A", "Alpha", "COM|Button");
    const std::string own = Listed(kHostFolder + "Plugin\\Tillwick\\plugin.ini");
    SwitchFile("[MyIEPlugins]\r\nAlpha1.0=1\r\nBeta1.0=1\r\nTillwick1.0=1\r\n");
    ASSERT_EQ(Scan(), (List{Listed(a), "", own}));
    const std::string b = Description("B", "Beta", "COM|Button");  // a folder appears
    EXPECT_EQ(Scan(), (List{Listed(a), Listed(b), own}));
    host::fs::DeleteFile(a);  // a description replaced
    WriteText(a, "[General]\r\nName=Alphabet\r\nVersion=1.0\r\n");
    EXPECT_EQ(Scan(), (List{"", Listed(b), own}));
    SwitchFile("[MyIEPlugins]\r\nBeta1.0=0\r\nTillwick1.0=1\r\n");
    EXPECT_EQ(Scan(), (List{"", own}));
    const std::string localized = Description("Tillwick", "Tillwick", "COM|Button", "", "plugin1031.ini");
    EXPECT_EQ(Scan("1031"), (List{"", Listed(localized)}));
    EXPECT_EQ(State().OwnCommandId, 29522);
}

TEST_F(SpineRegistry, MoreThan101PluginFoldersAreAllRead) {
    std::string content = "[MyIEPlugins]\r\n";
    for (int i = 0; i < 150; ++i) {
        std::string name = "P" + std::to_string(1000 + i);
        Description(name, name, "button");
        content += name + "1.0=1\r\n";
    }
    content += "Tillwick1.0=1\r\n";
    SwitchFile(content);
    std::vector<std::string> list = Scan();
    ASSERT_EQ(list.size(), 151u);
    EXPECT_EQ(list[149], kLowerHost + "Plugin\\P1149\\plugin.ini");
    EXPECT_EQ(State().OwnCommandId, 29521 + 150);
}

// The host without its "Plugin" folder or switch file: the plugin still starts.
TEST_F(SpineRegistry, MissingPluginFolderLeavesEntriesUnnamedAndStartUpRuns) {
    // Another installation of the host, with a switch file but no "Plugin" folder.
    host::sim::SetExecutablePath("C:\\Maxthon3\\Maxthon.exe");
    for (const char* folder : {"C:\\Maxthon3", "C:\\Maxthon3\\Config"}) host::fs::CreateFolder(folder);
    WriteText("C:\\Maxthon3\\Config\\Plugins.ini", "[MyIEPlugins]\r\nAlpha1.0=1\r\nTillwick1.0=1\r\n");
    BuildHost();
    auto plugin = StartPlugin();
    EXPECT_EQ(State().HostPluginList, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(State().OwnCommandId, 0);
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, 0xC004), 1);

    plugin.reset();
    host::fs::DeleteFile("C:\\Maxthon3\\Config\\Plugins.ini");
    auto second = std::make_unique<tillwick::PluginObject>();
    EXPECT_TRUE(State().HostPluginList.empty());
}

// ---- diagnostics ----

TEST_F(SpineRegistry, DiagnosticsNameEverySettingWhosePatternCannotBeUsed) {
    // Nothing else is missing.
    tillwick::SharedState& s = State();
    s.CompanionCommandId = 29522;
    s.SecurityId = "{ID}";
    s.AddressEditWnd = reinterpret_cast<HWND>(1);
    s.SearchEditWnd = reinterpret_cast<HWND>(2);
    s.ButtonsToolbarWnd = reinterpret_cast<HWND>(3);
    const auto named = [](std::string_view key) {
        return "The pattern in setting " + std::string(key) + " is not valid and is not used.\r\n";
    };
    for (auto key : {"PluginInclude", "TabPluginInclude", "HidePluginInclude"}) Setting(key, std::string(1023, '('));
    Setting("TitleToHide", "movie|(music)");
    Setting("HidePlugin", "1");
    tillwick::BuildDiagnostics();
    EXPECT_EQ(State().DiagnosticsText, named("PluginInclude") + named("TabPluginInclude") + named("HidePluginInclude"));

    // Valid parts joined into a pattern too long to use: the switch that joins them is named.
    for (auto key : {"PluginInclude", "TabPluginInclude", "HidePluginInclude"}) Setting(key, "");
    Setting("HideAutoPlugin", "1");
    State().AfterPageDonePlugins = std::string(tillwick::TextPattern::kMaxLength + 1, 'x') + "|";
    tillwick::BuildDiagnostics();
    EXPECT_EQ(State().DiagnosticsText, named("HidePlugin"));
}

TEST_F(SpineRegistry, AfterPageDonePluginsNeedBothKeys) {
    Description("A", "Alpha", "button", "StartAfterPageDone=1\r\n[MyIE2Buttons]\r\nCount=2\r\n");
    Description("B", "Beta", "button", "StartAfterPageDone=1\r\n[MyIE2Buttons]\r\nCount=\r\n");
    Description("C", "Gamma", "button", "StartAfterPageDone=0\r\n[MyIE2Buttons]\r\nCount=1\r\n");
    Description("D", "Delta", "button", "StartAfterPageDone=1\r\n[MyIE2Buttons]\r\nCount=1\r\n");
    SwitchFile("[MyIEPlugins]\r\nAlpha1.0=1\r\nBeta1.0=1\r\nGamma1.0=1\r\nDelta1.0=0\r\n");
    Scan();
    EXPECT_EQ(State().AfterPageDonePlugins, "Alpha|");
}

}  // namespace

}  // namespace spine
