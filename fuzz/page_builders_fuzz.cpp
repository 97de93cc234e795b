// The pages and scripts built from settings and files: a script plugin's page
// script, the HTML panels' frameset and the separator frame's page. The first
// byte picks the builder; the pages are judged by an HTML5 parser.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "fuzz_target.h"
#include "html_oracle.h"
#include "menus/plugin_menu.h"
#include "statushtml/status_html_page.h"

namespace {

constexpr std::string_view kSecurityId = "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";

void Frameset(FuzzedDataProvider& in) {
    std::vector<tillwick::StatusHtmlPanel> panels(in.ConsumeIntegralInRange(0, 16));
    std::vector<bool> shown;
    for (tillwick::StatusHtmlPanel& p : panels) {
        p.use = in.ConsumeBool();
        shown.push_back(in.ConsumeBool());
        p.width = in.ConsumeRandomLengthString(12);
        p.name = fuzz::Parseable(in.ConsumeRandomLengthString(256));
    }
    const auto separator = tillwick::ClampSeparatorWidth(in.ConsumeIntegral<std::int32_t>());
    const tillwick::FramesetPage page = tillwick::BuildFramesetPage(panels, shown, separator);
    const fuzz::Document doc(page.html);
    const auto framesets = doc.Elements(GUMBO_TAG_FRAMESET);
    const auto frames = doc.Elements(GUMBO_TAG_FRAME);
    if (framesets.size() != 1 || fuzz::Attribute(*framesets[0], "cols") != page.cols ||
        frames.size() != panels.size() + 2)
        std::abort();
    for (std::size_t i = 0; i < panels.size(); ++i)
        if (fuzz::Attribute(*frames[i + 1], "name") != panels[i].name) std::abort();
}

void Separator(const std::string& path) {
    const std::string url = tillwick::PanelUrl(path);
    const fuzz::Document doc(tillwick::SeparatorPage(path));
    const auto bodies = doc.Elements(GUMBO_TAG_BODY);
    // The image's address must stay inside its CSS url('...'), whatever the folder's name.
    if (bodies.size() != 1 || bodies[0]->attributes.length != 2 ||
        fuzz::Attribute(*bodies[0], "style") != "background:url('" + url + "')" ||
        url.find_first_of("'\\\n\f") != std::string::npos)
        std::abort();
}

}  // namespace

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: {
        const std::string script = tillwick::PreparePluginScript(in.ConsumeRemainingBytesAsString(), kSecurityId);
        if (script.find("%max_security_id") != std::string::npos) std::abort();
        break;
    }
    case 1: Frameset(in); break;
    default: Separator("C:\\" + Parseable(in.ConsumeRemainingBytesAsString()));  // the plugin's folder
    }
}
