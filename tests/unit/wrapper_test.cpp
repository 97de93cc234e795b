#include "core/wrapper.h"

#include <gtest/gtest.h>

#include "core/state.h"
#include "host/sim/sim.h"

using namespace tillwick;

namespace {

class Wrapper : public ::testing::Test {
protected:
    void SetUp() override {
        host::sim::Reset();
        ResetState();
        SetPluginFolder("C:\\maxthon\\Plugin\\Tillwick");
        State().HostFolder = "c:\\maxthon\\";
        State().LanguageId = "1031";
        for (const char* folder : {"C:\\maxthon", "C:\\maxthon\\config", "C:\\maxthon\\Plugin",
                                   "C:\\maxthon\\Plugin\\Tillwick", "C:\\maxthon\\Plugin\\Tillwick\\Languages"})
            ASSERT_TRUE(host::fs::CreateFolder(folder) || host::fs::FolderExists(folder)) << folder;
    }
    static void Put(const std::string& path, const std::string& text) {
        ASSERT_TRUE(host::fs::WriteFileAtomic(path, text));
    }
};

TEST_F(Wrapper, ReadSettingTreatsEmptyAsMissingButTempKeepsIt) {
    Put(SettingsFilePath(), "[General]\r\nEmpty=\r\nSet=5\r\n");
    Put(ScratchFilePath(), "[Cache]\r\nEmpty=\r\n");
    for (const auto& [key, value] : {std::pair{"Empty", "dflt"}, {"Set", "5"}, {"Missing", "dflt"}})
        EXPECT_EQ(ReadSetting(key, "dflt"), value) << key;
    EXPECT_EQ(ReadTempValue("Empty", "dflt", "Cache"), "");
    EXPECT_EQ(ReadTempValue("Missing", "dflt", "Cache"), "dflt");
}

TEST_F(Wrapper, LanguageTextFallsBackToBaseFileThenDefault) {
    Put(LanguageFilePath("1031"), "[Language]\r\n089=Zeigen\r\n090=\r\n");
    Put(LanguageFilePath("0000"), "[Language]\r\n089=Show\r\n090=Base&Text\r\n091=Only base\r\n");
    // 090 is empty in 1031: the base file's, "&" kept.
    for (const auto& [id, text] : {std::pair{"089", "Zeigen"}, {"090", "Base&Text"}, {"091", "Only base"}, {"092", "dflt"}})
        EXPECT_EQ(LanguageText(id, "dflt"), text) << id;
    State().LanguageId = "9999";  // no such file
    EXPECT_EQ(LanguageText("089", "dflt"), "Show");
}

TEST_F(Wrapper, HostReadersUseTheirFilesAndStripAmpersands) {
    Put("c:\\maxthon\\config\\config.ini", "[Settings]\r\nlanguage_file=c:\\maxthon\\lang\\x.ini\r\nE=\r\n");
    Put("c:\\maxthon\\config\\SetupCenter.ini", "[Tab]\r\nK=7\r\n");
    host::fs::CreateFolder("c:\\maxthon\\lang");
    Put("c:\\maxthon\\lang\\x.ini", "[Menu]\r\nClose=&Close && Go\r\n");
    State().HostLanguageFile = ReadHostConfig("language_file", "", "Settings");
    EXPECT_EQ(State().HostLanguageFile, "c:\\maxthon\\lang\\x.ini");
    EXPECT_EQ(ReadHostConfig("E", "d", "Settings"), "");
    EXPECT_EQ(ReadHostSetupCenter("K", "d", "Tab"), "7");
    EXPECT_EQ(HostLanguageText("Close", "", "Menu"), "Close  Go");
    EXPECT_EQ(HostLanguageText("Missing", "&Def", "Menu"), "Def");
    EXPECT_EQ(ReadIniFile("K", "c:\\maxthon\\config\\SetupCenter.ini", "Tab"), "7");
    EXPECT_EQ(ReadIniFile("Missing", "c:\\maxthon\\config\\SetupCenter.ini", "Tab"), "");
}

TEST(PtrToText, ReadsUtf16UpToTheTerminator) {
    EXPECT_EQ(PtrToText(nullptr, 1024), "");
    EXPECT_EQ(PtrToText(u"Tab", 1024), "Tab");  // stops at the NUL, never reads the 1024 bytes
    const char16_t title[] = u"Title";
    EXPECT_EQ(PtrToText(title, 5), "Ti");  // an odd last byte is dropped
    EXPECT_EQ(PtrToText(title, -1), "  ");
    EXPECT_EQ(PtrToText(title, 0), "");
}

}  // namespace
