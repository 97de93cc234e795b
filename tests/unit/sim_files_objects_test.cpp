// Files, page objects, input and process facts of the sim.
#include <stdexcept>

#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

class SimFiles : public SimTest {};

TEST_F(SimFiles, FoldersExistThroughWhatLiesBelowThem) {
    host::sim::PutFile("C:/Maxthon/Plugin/Tillwick/plugin.ini", "[General]");
    EXPECT_TRUE(host::fs::FolderExists("c:\\maxthon\\plugin"));
    EXPECT_TRUE(host::fs::FolderExists("C:\\Maxthon\\Plugin\\Tillwick\\"));  // trailing separator
    EXPECT_TRUE(host::fs::FileExists("C:\\MAXTHON\\plugin\\tillwick\\PLUGIN.INI"));
    EXPECT_FALSE(host::fs::FolderExists("C:\\Maxthon\\Plugin\\Tillwick\\plugin.ini"));
    EXPECT_TRUE(host::fs::FolderExists("D:"));  // drive roots always exist

    // The atomic write needs the folder, and then replaces the whole content.
    EXPECT_TRUE(host::fs::WriteFileAtomic("C:\\Maxthon\\Plugin\\Tillwick\\settings.ini", "a=1"));
    EXPECT_TRUE(host::fs::WriteFileAtomic("C:\\Maxthon\\Plugin\\Tillwick\\SETTINGS.INI", "b"));
    EXPECT_EQ(host::fs::ReadFile("c:\\maxthon\\plugin\\tillwick\\settings.ini"), "b");
    EXPECT_FALSE(host::fs::WriteFileAtomic("C:\\Maxthon\\Plugin", "a folder is not a file"));

    // Deleting the only file below a folder that was never created removes the folder too.
    EXPECT_TRUE(host::fs::DeleteFile("C:\\Maxthon\\Plugin\\Tillwick\\plugin.ini"));
    EXPECT_TRUE(host::fs::DeleteFile("C:\\Maxthon\\Plugin\\Tillwick\\settings.ini"));
    EXPECT_FALSE(host::fs::FolderExists("C:\\Maxthon\\Plugin\\Tillwick"));
    EXPECT_FALSE(host::fs::DeleteFile("C:\\Maxthon\\Plugin\\Tillwick\\settings.ini"));
}

TEST_F(SimFiles, SubfoldersAreListedOnceInNtfsOrder) {
    const std::string root = "C:\\Host\\Plugin";
    for (const char* name : {"zeta", "Alpha", "_under", "beta", "ALPHA2"}) {
        host::sim::PutFile(root + "\\" + name + "\\plugin.ini", "x");
    }
    host::sim::PutFile(root + "\\Beta\\second.ini", "same folder, other case");
    host::sim::PutFile(root + "\\loose.txt", "not a folder");
    ASSERT_TRUE(host::fs::CreateFolder(root + "\\Empty"));
    // NTFS compares upper-cased names: '_' (0x5F) sorts after the letters.
    EXPECT_EQ(host::fs::ListSubfolders("c:/host/plugin"),
              (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "Empty", "zeta", "_under"}));
}

class SimObjects : public SimTest {};

TEST_F(SimObjects, PropertyBagsAnswerByNameInAnyCaseAndRecordScripts) {
    auto window = host::sim::MakeObject();
    auto document = host::sim::MakeObject();
    document->Set("Title", std::string("Page"));
    window->Set("document", host::Object(document));
    int calls = 0;
    window->SetMethod("open", [&](const std::vector<host::Value>& args) -> std::optional<host::Value> {
        ++calls;
        return host::Value(static_cast<std::int32_t>(args.size()));
    });
    window->SetMethod("fail", [](const std::vector<host::Value>&) -> std::optional<host::Value> {
        throw std::runtime_error("script error");
    });

    const host::Object w(window);
    EXPECT_EQ(w.GetObject("DOCUMENT").GetText("title"), "Page");
    EXPECT_TRUE(w.ExecScript("tabs.close(1)"));
    EXPECT_TRUE(w.Call("EXECSCRIPT", {std::string("second()")}).has_value());
    EXPECT_EQ(window->Scripts(), (std::vector<std::string>{"tabs.close(1)", "second()"}));
    EXPECT_EQ(std::get<std::int32_t>(*w.Call("Open", {1, 2})), 2);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(w.Call("missing").has_value());
    EXPECT_FALSE(w.Call("fail").has_value());  // the failure stays inside the call
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 1);
    expectedSwallowed = 1;
    EXPECT_FALSE(w.Put("open", 1));  // a method is not a property
    EXPECT_TRUE(w.Put("status", std::string("ok")));
    EXPECT_EQ(w.GetText("STATUS"), "ok");
}

TEST_F(SimObjects, LresultsLeadBackToTheirObjects) {
    auto bag = host::sim::MakeObject();
    const host::Object object(bag);
    const LRESULT first = host::sim::LresultFromObject(object);
    const LRESULT second = host::sim::LresultFromObject(object);
    EXPECT_NE(first, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(host::ObjectFromLresult(first), object);
    EXPECT_FALSE(host::ObjectFromLresult(first + 1000));
    EXPECT_EQ(host::sim::LresultFromObject(host::Object()), 0);
}

class SimInput : public SimTest {};

TEST_F(SimInput, KeyStateHasTheDownBitAndAToggleThatFlipsPerPress) {
    EXPECT_EQ(host::GetKeyState(VK_SHIFT), 0);
    host::sim::SetKeyDown(VK_SHIFT, true);
    EXPECT_LT(host::GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(host::GetKeyState(VK_SHIFT) & 1, 1);
    host::sim::SetKeyDown(VK_SHIFT, true);  // still the same press
    host::sim::SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(host::GetKeyState(VK_SHIFT), 1);  // up, toggled once
}

LRESULT CALLBACK HotKeyWindow(HWND h, UINT m, WPARAM w, LPARAM l) { return host::DefWindowProcA(h, m, w, l); }

TEST_F(SimInput, HotKeysAreUniquePerKeyReplaceablePerIdAndGoWithTheirWindow) {
    Register("SimHotKeys", HotKeyWindow);
    HWND w = Make("SimHotKeys", WS_POPUP);
    HWND other = Make("SimHotKeys", WS_POPUP);
    EXPECT_TRUE(host::RegisterHotKey(w, 1, MOD_CONTROL, VK_F12));
    EXPECT_FALSE(host::RegisterHotKey(other, 9, MOD_CONTROL, VK_F12));  // the combination is taken
    EXPECT_TRUE(host::RegisterHotKey(w, 1, MOD_ALT, VK_F1));           // same window and id: replaced
    ASSERT_EQ(host::sim::RegisteredHotKeys().size(), 1u);
    EXPECT_FALSE(host::sim::PressHotKey(MOD_CONTROL, VK_F12));

    host::sim::ClearMessageLog();
    EXPECT_TRUE(host::sim::PressHotKey(MOD_ALT, VK_F1));
    host::sim::RunPending();
    ASSERT_EQ(Sequence(w, {WM_HOTKEY}).size(), 1u);
    EXPECT_EQ(host::sim::MessageLog().back().lParam, MAKELPARAM(MOD_ALT, VK_F1));

    host::DestroyWindow(w);
    EXPECT_TRUE(host::sim::RegisteredHotKeys().empty());
    EXPECT_FALSE(host::UnregisterHotKey(w, 1));
}

TEST_F(SimInput, ModulePathIsCutToTheBufferWithItsTerminator) {
    host::sim::SetExecutablePath("C:\\Maxthon\\Maxthon.exe");
    char full[64] = {};
    EXPECT_EQ(host::GetModuleFileNameA(nullptr, full, sizeof(full)), 22u);
    EXPECT_STREQ(full, "C:\\Maxthon\\Maxthon.exe");
    char small[8] = {};
    EXPECT_EQ(host::GetModuleFileNameA(nullptr, small, sizeof(small)), 8u);
    EXPECT_STREQ(small, "C:\\Maxt");
    host::sim::SetCursorScreenPos(5000, -20);
    POINT p{};
    host::GetCursorPos(&p);
    EXPECT_EQ(p.x, 5000);  // the test may put it anywhere; SetCursorPos keeps it on the screen
    host::SetCursorPos(5000, -20);
    host::GetCursorPos(&p);
    EXPECT_EQ(p.x, host::GetSystemMetrics(SM_CXSCREEN) - 1);
    EXPECT_EQ(p.y, 0);
}

}  // namespace
