// System facts: metrics, colours, module paths and the process count.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host {

using namespace sim::detail;

int GetSystemMetrics(int index) {
    const auto& overrides = S().metrics;
    if (auto it = overrides.find(index); it != overrides.end()) return it->second;
    switch (index) {
    case SM_CXSCREEN: return 1280;
    case SM_CYSCREEN: return 1024;
    case SM_CXVSCROLL: return 16;
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: return 1;
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: return 3;
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON: return 32;
    case SM_CYICON: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYFULLSCREEN: return GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXSIZE: return 18;
    case SM_CYSIZE: return 18;
    case SM_CXFRAME: return 4;
    case SM_CYFRAME: return 4;
    case SM_CXEDGE: return 2;
    case SM_CYEDGE: return 2;
    case SM_CXSMICON: return 16;
    case SM_CYSMICON: return 16;
    case 51 /* SM_CYSMCAPTION */: return 15;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMAXIMIZED: return GetSystemMetrics(SM_CXSCREEN) + 2 * GetSystemMetrics(SM_CXFRAME);
    case SM_CYMAXIMIZED: return GetSystemMetrics(SM_CYSCREEN) + 2 * GetSystemMetrics(SM_CYFRAME);
    case SM_CXMENUCHECK: return 13;
    case SM_CYMENUCHECK: return 13;
    case SM_CXVIRTUALSCREEN: return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN: return GetSystemMetrics(SM_CYSCREEN);
    case SM_CMONITORS: return 1;
    default: return 0;
    }
}

DWORD GetSysColor(int index) {
    // The classic Windows scheme.
    static const COLORREF colours[] = {
        RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
        RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
        RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
        RGB(181, 181, 181), RGB(0, 0, 200),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
        RGB(212, 208, 200)};
    if (index < 0 || index >= static_cast<int>(std::size(colours))) return 0;
    return colours[index];
}

DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size) {
    if (module) return 0;  // only the executable is known to the sim
    if (!buffer || size == 0) return 0;
    const std::string& path = S().exePath;
    if (path.size() < size) {
        CopyOut(buffer, static_cast<int>(size), path);
        return static_cast<DWORD>(path.size());
    }
    // Cut to the buffer with its terminator; the return value is the buffer size.
    CopyOut(buffer, static_cast<int>(std::min<DWORD>(size, 0x7FFFFFFF)), path);
    return size;
}

std::string PluginModulePath() { return S().pluginPath; }

std::optional<int> CountProcessesNamed(std::string_view exeName) {
    (void)exeName;
    return S().processCount;
}

}  // namespace host

namespace host::sim {

void SetExecutablePath(std::string path) { detail::S().exePath = std::move(path); }

void SetPluginModulePath(std::string path) { detail::S().pluginPath = std::move(path); }

void SetProcessCount(std::optional<int> count) { detail::S().processCount = count; }

void SetSystemMetric(int index, int value) { detail::S().metrics[index] = value; }

}  // namespace host::sim
