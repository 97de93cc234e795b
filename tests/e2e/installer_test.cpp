// The setup program and its uninstaller under Wine. This executable is the
// browser program (Maxthon.exe) of the folder they install into and remove
// from; the setup program lies beside that folder.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e/e2e_host.h"

namespace e2e {
namespace {

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tillwick";
const char* const kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Maxthon.exe";
const char* const kClassKey = "CLSID\\{16657407-4686-40CE-B8BF-1BE47D1AB637}";
// One installed file of each kind the setup program lays down.
const char* const kInstalled[] = {"Tillwick.dll", "plugin.ini", "Uninstall.exe", "Languages\\Language0000.ini",
                                  "Addons\\PageRank\\PageRank.html", "Icons\\SSL.ico"};
constexpr DWORD kNotInstalled = 2;

std::string BrowserFolder() { return ExeFolder().substr(0, ExeFolder().size() - 1); }
std::string SetupExe() { return ExeFolder() + "..\\Tillwick-Setup.exe"; }

std::string ProductVersionOf(const std::string& file) {
    std::vector<char> info(::GetFileVersionInfoSizeA(file.c_str(), nullptr));
    char* text = nullptr;
    UINT size = 0;
    if (info.empty() || !::GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
        !::VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductVersion", reinterpret_cast<void**>(&text),
                          &size))
        return {};
    return std::string(text, size ? size - 1 : 0);
}

// The identity and write time of a file: unchanged while nobody replaces or writes it.
std::string Stamp(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = file != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(file, &info);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    char text[80] = {};
    if (ok)
        std::snprintf(text, sizeof text, "%lx:%lx:%lx:%lx", info.nFileIndexHigh, info.nFileIndexLow,
                      info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return text;
}

// A user at the setup program's or the uninstaller's windows: on each new
// page Next; every message box read and cancelled.
struct User {
    std::vector<std::string> boxTexts;
    HWND page = nullptr;
    ULONGLONG pageSince = 0;
    bool clicked = false;

    void operator()() {
        HWND outer = nullptr, box = nullptr;
        for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
            char title[64] = {};
            ::GetWindowTextA(w, title, sizeof title);
            if (!::IsWindowVisible(w) || std::string(title).rfind("Tillwick ", 0) != 0) continue;
            (::GetDlgItem(w, 0xFFFF) ? box : outer) = w;  // a message box's text has id 0xFFFF
        }
        if (box) {
            char text[512] = {};
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            boxTexts.push_back(text);
            ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            Pump(300);
            return;
        }
        HWND inner = outer ? ::FindWindowExA(outer, nullptr, "#32770", nullptr) : nullptr;
        if (inner != page) {
            page = inner;
            pageSince = ::GetTickCount64();
            clicked = false;
        }
        if (!page || clicked || ::GetTickCount64() - pageSince < 700) return;  // let it paint
        // Next, or Close where a stopped run offers only that.
        for (int id : {IDOK, IDCANCEL}) {
            HWND button = ::GetDlgItem(outer, id);
            if (!::IsWindowEnabled(button)) continue;
            ::PostMessageA(outer, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            clicked = true;
            return;
        }
    }
};

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

class Installer : public HostTest {};

TEST_F(Installer, SilentInstallIntoTheRegisteredBrowserRunsInTheHostAndAnInstallWhileItRunsChangesNothing) {
    std::filesystem::remove_all(PluginFolder());
    // Found by its registry entry: no folder given.
    ASSERT_EQ(::RegSetKeyValueA(HKEY_LOCAL_MACHINE, kAppPathsKey, nullptr, REG_SZ, (ExeFolder() + "Maxthon.exe").c_str(),
                                static_cast<DWORD>(ExeFolder().size() + 12)),
              ERROR_SUCCESS);
    const Outcome install = RunToEnd(Quoted(SetupExe()) + " /S");
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey);
    ASSERT_EQ(install.code, 0u) << install.err;
    for (const char* file : kInstalled) EXPECT_TRUE(FileExists(PluginFolder() + file)) << file;

    char version[32] = {};
    ::GetPrivateProfileStringA("General", "Version", "", version, sizeof version, (PluginFolder() + "plugin.ini").c_str());
    EXPECT_NE(std::string(version), "");
    EXPECT_EQ(ProductVersionOf(PluginDll()), version);
    EXPECT_EQ(ProductVersionOf(SetupExe()), version);
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), version);
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Tillwick authors");
    DWORD size = 0, bytes = sizeof size;
    EXPECT_EQ(::RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr, &size, &bytes),
              ERROR_SUCCESS);
    EXPECT_GT(size, 100u);  // KiB: the DLL alone is larger
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), Quoted(PluginFolder() + "Uninstall.exe"));
    const auto server = RegText(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32");
    EXPECT_TRUE(server && ::lstrcmpiA(server->c_str(), PluginDll().c_str()) == 0) << server.value_or("no class");

    // The host loads the installed plugin, whose button opens its options.
    ASSERT_NO_FATAL_FAILURE(StartWithPlugin());
    ASSERT_EQ(dll, ::GetModuleHandleA(PluginDll().c_str()));
    // The dialog runs its own loop: a step of a script looks at it and closes it.
    Script closer;
    closer.Add([] {
        HWND options = ShownDialog(L"Tillwick");
        return options != nullptr && ::PostMessageW(options, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(closer.RunWhile([&] { ::PostMessageA(host->Frame(), WM_COMMAND, 29521, 0); }, 8000))
        << "the button opened no options dialog";
    Pump(300);

    // Installing again while the host holds the DLL: refused, the DLL as it was.
    const std::string before = Stamp(PluginDll());
    const Outcome silent = RunToEnd(Quoted(SetupExe()) + " /S /D=" + BrowserFolder());
    EXPECT_EQ(silent.code, kNotInstalled);
    EXPECT_NE(silent.err.find("in use by Maxthon"), std::string::npos) << silent.err;
    User user;
    EXPECT_EQ(RunToEnd(Quoted(SetupExe()) + " /D=" + BrowserFolder(), std::ref(user)).code, kNotInstalled);
    ASSERT_FALSE(user.boxTexts.empty());
    EXPECT_NE(user.boxTexts[0].find("Maxthon is running"), std::string::npos) << user.boxTexts[0];
    EXPECT_EQ(Stamp(PluginDll()), before);
    EXPECT_FALSE(FileExists(PluginDll() + ".new"));
}

// Uninstalls, silently or at the uninstaller's pages, with or without the user's settings.
TEST(InstallerUninstall, RemovesFilesClassAndEntryAndKeepsSettingsUnlessAsked) {
    const struct {
        const char* options;
        bool settingsKept;
    } rows[] = {{" /S", true}, {"", true}, {" /S /REMOVESETTINGS", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.options);
        const bool atPages = std::string(row.options).empty();
        if (!FileExists(PluginFolder() + "Uninstall.exe")) {
            User user;
            const std::string options = atPages ? "" : " /S";
            ASSERT_EQ(RunToEnd(Quoted(SetupExe()) + options + " /D=" + BrowserFolder(), std::ref(user)).code, 0u);
        }
        ::WritePrivateProfileStringA("General", "HideTitle", "1", (PluginFolder() + "settings.ini").c_str());
        ASSERT_EQ(RunToEnd(Quoted(PluginFolder() + "Uninstall.exe") + row.options).code, 0u);
        // The uninstaller goes on in a copy of itself: its entry goes last.
        User user;
        EXPECT_TRUE(PumpUntil([&] {
            user();
            return !RegText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName");
        }, 60000));
        for (const char* file : kInstalled) EXPECT_FALSE(FileExists(PluginFolder() + file)) << file;
        EXPECT_EQ(FileExists(PluginFolder() + "settings.ini"), row.settingsKept);
        EXPECT_EQ(FileExists(PluginFolder()), row.settingsKept);
        EXPECT_FALSE(RegText(HKEY_CLASSES_ROOT, kClassKey, nullptr));
    }
}

}  // namespace
}  // namespace e2e
