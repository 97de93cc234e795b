// The host's plugin list (Config\Plugins.ini) and the plugins' description
// files (Plugin\<folder>\plugin.ini), both written by whoever installed a
// plugin. The input holds the switch file and two description files, cut at
// NUL bytes, and goes through the whole scan on the simulated file system.
#include <string>
#include <string_view>

#include "core/plugin_registry.h"
#include "core/state.h"
#include "fuzz_target.h"
#include "host/sim/sim.h"

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string parts[3];
    for (std::string& part : parts) {
        const std::size_t cut = input.find('\0');
        part = input.substr(0, cut);
        input = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
    }
    host::sim::Reset();
    tillwick::ResetState();
    tillwick::State().HostFolder = "c:\\maxthon\\";
    host::sim::PutFile("C:\\Maxthon\\Config\\Plugins.ini", parts[0]);
    host::sim::PutFile("C:\\Maxthon\\Plugin\\Tillwick\\plugin.ini", parts[1]);
    host::sim::PutFile("C:\\Maxthon\\Plugin\\Other\\plugin.ini", parts[2]);
    tillwick::ScanHostPlugins();
    (void)tillwick::PluginEntryLines(parts[0]);
}
