// The host's plugin list: which plugin runs under which host command id
// (29521 + its position among the entries of the host's switch file), our own
// button's id and the companion's, and the diagnostics text of the options dialog.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"

namespace tillwick {

// What the scan needs from one plugin's description file.
struct PluginDescription {
    std::string path;
    std::string name;
    std::string version;
    std::string type;
    std::string startAfterPageDone;
    std::string buttonCount;
};

// The plugin folders' descriptions, kept for the process: every tab's object
// scans the list again, and with hundreds of plugins reading every
// description each time costs more than the rest of start-up. They are read
// again when a plugin folder appears, goes or changes its write time (a file
// in it created, deleted or replaced, as our own settings writer does), or
// the language changed.
struct PluginFolderCache {
    struct Checked {
        std::string path;
        std::optional<host::fs::Stamp> stamp;
    };
    bool valid = false;
    std::string root;
    std::string languageId;
    std::vector<Checked> checked;  // each plugin folder and its write time
    std::vector<PluginDescription> table;
};

// Rebuilds HostPluginList, OwnCommandId, CompanionCommandId and
// AfterPageDonePlugins from the host's plugin folders and switch file. A
// missing "Plugin" folder or switch file gives an empty list, not a failure:
// the plugin runs without the features that press other plugins' buttons.
void ScanHostPlugins();

// The entry lines of a switch file: the lines between "[myieplugins]" and
// "[ieplugins]" (section names in any case). No "[myieplugins]": no entries.
std::vector<std::string> PluginEntryLines(std::string_view switchFileText);

// Builds DiagnosticsText: what the plugin could not find, or key "124"'s text.
void BuildDiagnostics();

}  // namespace tillwick
