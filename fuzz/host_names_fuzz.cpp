// Names the host hands us, as our menu features build text from them: the
// pattern of plugins to hide (users' patterns and the host's auto-started
// plugin names), a group's menu caption without its numbering, and the
// language file's prompt before a group opens. The first byte picks the check.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "settings/settings_files.h"
#include "base/errors.h"
#include "core/state.h"
#include "core/text_pattern.h"
#include "fuzz_target.h"
#include "host/sim/sim.h"
#include "menus/host_menus.h"
#include "settings/settings_catalogue.h"

namespace {

using tillwick::Setting;

void Hide(FuzzedDataProvider& in) {
    host::sim::Reset();
    tillwick::ResetState();
    tillwick::SetPluginFolder("C:\\Plugin");
    host::sim::PutFile("C:\\Plugin\\settings.ini", "");
    const auto sources = in.ConsumeIntegral<std::uint8_t>();
    const Setting switches[] = {Setting::HideContextPlugin, Setting::HideAutoPlugin, Setting::HideOtherPlugin};
    for (int i = 0; i < 3; ++i) tillwick::WriteSettingValue(switches[i], sources >> i & 1 ? "1" : "0");
    for (Setting text : {Setting::PluginInclude, Setting::TabPluginInclude, Setting::HidePluginInclude})
        tillwick::WriteSettingValue(text, in.ConsumeRandomLengthString(128));
    const std::string names = in.ConsumeRandomLengthString(256);  // a plugin list, not a page
    tillwick::State().AfterPageDonePlugins = names;
    const tillwick::TextPattern pattern(tillwick::HidePattern());
    if ((sources & 7) != 2) return;
    // The host's names alone: each is matched as the name it is, never as a pattern.
    if (!names.empty() && !pattern.Valid()) std::abort();
    for (std::size_t from = 0; from <= names.size();) {
        const std::size_t bar = std::min(names.find('|', from), names.size());
        try {
            if (bar > from && !pattern.Matches(names.substr(from, bar - from))) std::abort();
        } catch (const tillwick::StepError&) {
            // More work than a name can justify: the step fails, as designed.
        }
        from = bar + 1;
    }
}

}  // namespace

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: Hide(in); break;
    case 1: {
        const std::string caption = in.ConsumeRemainingBytesAsString();
        if (!caption.ends_with(tillwick::WithoutNumbering(caption))) std::abort();
        break;
    }
    default: {
        const auto pages = in.ConsumeIntegral<std::int32_t>();
        const std::string name = in.ConsumeRandomLengthString(64);
        const std::string prompt = tillwick::GroupPrompt(in.ConsumeRemainingBytesAsString(), pages, name);
        if (!prompt.ends_with(" " + name) || prompt.substr(0, prompt.size() - name.size()).find("%N") != std::string::npos)
            std::abort();
    }
    }
}
