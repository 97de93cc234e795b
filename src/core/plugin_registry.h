// The host's plugin list: which plugin runs under which host command id
// (29521 + its position among the entries of the host's switch file), our own
// button's id and the companion's, and the diagnostics text of the options dialog.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tillwick {

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
