// The diagnostics report's lines about patterns in the settings that cannot
// be used: a hand-edited pattern that is malformed, too long or nested too
// deeply leaves its feature without a pattern, and the report names the key.
#include <array>
#include <string>

#include "core/feature.h"
#include "core/state.h"
#include "core/text_pattern.h"
#include "menus/host_menus.h"
#include "settings/settings_catalogue.h"

namespace tillwick {

void AppendPatternDiagnostics() {
    constexpr std::array kPatternSettings = {Setting::TitleToHide,      Setting::ExtensionInclude,
                                             Setting::OtherInclude,     Setting::TabOtherInclude,
                                             Setting::PluginInclude,    Setting::TabPluginInclude,
                                             Setting::HidePluginInclude};
    std::string& report = State().DiagnosticsText;
    const auto name = [&](std::string_view key) {
        report += "The pattern in setting " + std::string(key) + " is not valid and is not used.\r\n";
    };
    bool named = false;
    for (Setting setting : kPatternSettings) {
        const std::string pattern = SettingText(setting);
        if (pattern.empty() || TextPattern(pattern).Valid()) continue;
        name(CatalogueRow(setting).key);
        named = true;
    }
    // Valid parts can still join into a pattern too long to use.
    if (!named && SettingOn(Setting::HidePlugin)) {
        const std::string joined = HidePattern();
        if (!joined.empty() && !TextPattern(joined).Valid()) name(CatalogueRow(Setting::HidePlugin).key);
    }
}

// Only a report of its own: the patterns' features start and stop themselves.
constinit const Feature kPatternDiagnosticsFeature{.name = "pattern diagnostics",
                                                   .startAt = StartPoint::Never,
                                                   .apply = ApplyRestart::No,
                                                   .diagnose = &AppendPatternDiagnostics};

}  // namespace tillwick
