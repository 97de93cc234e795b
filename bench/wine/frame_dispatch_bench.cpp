// What the plugin's subclass of the real main frame costs a message: SendMessage
// round trips to the reference host's frame without the plugin, with the
// plugin's procedure in front (every built feature on), and without it again
// after the plugin let go, all in one run. Prints nanoseconds per round trip
// and the ratio against the mean of the two bare runs.
//
//   frame_dispatch_bench.exe [ROUND_TRIPS] [none]   (in the host folder, next to Plugin\Tillwick)
// With "none" the settings turn no feature on: the cost of the subclass alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/win32/com.h"
#include "wine_bench.h"

#include <commctrl.h>

#include "refhost/host.h"
#include "refhost/win32/com_objects.h"
#include "refhost/win32/dll_plugin.h"

namespace {

using wine_bench::ExeFolder;
using wine_bench::PumpFor;

bool ProcedureInside(HWND hwnd, HMODULE module) {
    HMODULE owner = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)), &owner);
    return module != nullptr && owner == module;
}

// Best of five batches, in nanoseconds per round trip: the least disturbed by
// the rest of the machine.
double NanosPerRoundTrip(HWND frame, UINT msg, int roundTrips) {
    double best = 1e18;
    for (int batch = 0; batch < 5; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < roundTrips; ++i) ::SendMessageA(frame, msg, 0, 0);
        const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / roundTrips);
    }
    return best;
}

struct Probe {
    const char* name;
    UINT msg;
};
// A message no handler acts on (pure dispatch cost) and one the host answers
// through DefWindowProc.
constexpr Probe kProbes[] = {{"WM_APP+7 (no handler acts)", WM_APP + 7}, {"WM_GETTEXTLENGTH", WM_GETTEXTLENGTH}};

void WriteProfile(bool features) {
    const std::string settings = ExeFolder() + "Plugin\\Tillwick\\settings.ini";
    ::DeleteFileA(settings.c_str());
    if (!features) return;
    for (const char* key : {"HideStatusBar", "HideTabBar", "AlwaysOnTop", "HideTitle", "ToggleFilter", "PasteGo",
                            "LastTabExit", "HideTabToolTip"})
        ::WritePrivateProfileStringA("General", key, "1", settings.c_str());
}

int Run(int roundTrips, bool features) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    WriteProfile(features);
    bool pluginsOn = false;
    refhost::Config config;
    config.objects = refhost::win32::ComObjects();
    refhost::PluginFactory dll = refhost::win32::DllPluginFactory(ExeFolder() + "Plugin\\Tillwick\\Tillwick.dll");
    if (!dll) {
        std::fprintf(stderr, "cannot load Plugin\\Tillwick\\Tillwick.dll\n");
        return 1;
    }
    config.pluginFactory = [&pluginsOn, dll]() -> std::unique_ptr<refhost::TabPlugin> {
        return pluginsOn ? dll() : nullptr;
    };
    config.loadStepMs = 20;
    config.frameRect = RECT{0, 0, 900, 650};
    refhost::Host host(std::move(config));
    if (!host.Start()) return 1;
    host.OpenTab("http://a.example/");
    PumpFor(300);
    const HWND frame = host.Frame();
    const HMODULE module = ::GetModuleHandleA("Tillwick.dll");

    std::vector<double> bare1, hooked, bare2;
    for (const Probe& p : kProbes) bare1.push_back(NanosPerRoundTrip(frame, p.msg, roundTrips));

    pluginsOn = true;
    host.OpenTab("http://b.example/");
    for (int i = 0; i < 400 && !ProcedureInside(frame, module); ++i) PumpFor(20);
    if (!ProcedureInside(frame, module)) {
        std::fprintf(stderr, "the plugin did not subclass the frame\n");
        return 1;
    }
    PumpFor(500);
    for (const Probe& p : kProbes) hooked.push_back(NanosPerRoundTrip(frame, p.msg, roundTrips));

    host.CloseTab();  // the plugin object goes: the frame gets its own procedure back
    PumpFor(300);
    if (ProcedureInside(frame, module)) {
        std::fprintf(stderr, "the frame is still subclassed after the release\n");
        return 1;
    }
    for (const Probe& p : kProbes) bare2.push_back(NanosPerRoundTrip(frame, p.msg, roundTrips));
    host.Close();

    // What one key-state query costs here (the handlers' bypass test).
    double keyStateNs = 1e18;
    for (int batch = 0; batch < 5; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < roundTrips; ++i) ::GetKeyState(VK_SHIFT);
        const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
        keyStateNs = std::min(keyStateNs, took.count() / roundTrips);
    }

    std::printf("SendMessage round trips to the main frame, %d per batch, best of 5 batches, features %s\n",
                roundTrips, features ? "on" : "off");
    std::printf("%-30s %12s %12s %12s %8s\n", "message", "bare ns", "hooked ns", "bare ns", "ratio");
    for (std::size_t i = 0; i < std::size(kProbes); ++i) {
        const double bare = (bare1[i] + bare2[i]) / 2;
        std::printf("%-30s %12.0f %12.0f %12.0f %7.2fx\n", kProbes[i].name, bare1[i], hooked[i], bare2[i],
                    hooked[i] / bare);
    }
    std::printf("GetKeyState: %.0f ns a call\n", keyStateNs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int roundTrips = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 200000;
    const bool features = !(argc > 2 && std::string(argv[2]) == "none");
    return wine_bench::WithOle([&] { return Run(roundTrips, features); });
}
