// The text of the strip's pages: the frameset that holds one frame per panel,
// the separator frame, each panel page as it is written into its frame, and
// the script that closes the borrowed tab. Pure functions of their inputs.
//
// Everything taken from settings.ini or from an add-on page is escaped for the
// place it lands in: frame names and addresses as attribute values, numbers
// as numbers, the security id as a script string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tillwick {

// One panel record of section "StatusHtml", as stored.
struct StatusHtmlPanel {
    bool use = false;
    std::string path;
    std::string width = "80";
    std::string name;
    std::string offset = "0";
};

// The separator width the strip uses: above 10 becomes 10, 1..5 become 6;
// 0 and below stay.
std::int32_t ClampSeparatorWidth(std::int32_t width);

// A width or offset from the settings as a whole number of pixels; a value
// that is not a number or is negative counts as 0, one past the strip's
// 16-bit geometry as its largest value.
std::int32_t PanelPixels(std::string_view text);

// The largest add-on page a panel shows: a larger one gets an empty frame.
inline constexpr std::size_t kMaxPanelPageBytes = 1 << 20;

// A web address (begins with "http") stays as it is; a Windows path becomes a
// file: URL with every character that could end a quote, a CSS url() or a
// path segment percent-encoded.
std::string PanelUrl(std::string_view path);

struct FramesetPage {
    std::string html;
    std::int32_t totalWidth = 0;  // separator plus every shown panel, at most INT16_MAX
    std::string cols;
};
// `shown[i]` says whether panel i takes room (its file exists or it is a web panel).
FramesetPage BuildFramesetPage(const std::vector<StatusHtmlPanel>& panels, const std::vector<bool>& shown,
                               std::int32_t separatorWidth);

// The separator frame's page: the status-bar slice `imagePath` as background.
std::string SeparatorPage(std::string_view imagePath);

// An add-on page made ready for its frame: the host's script tag replaced by
// the security id, the first body tag after a line break given the status-bar
// slice as background and the panel's top offset, and a base line so that the
// page's relative links resolve beside its file. Linear in the page's length.
std::string PreparePanelPage(std::string html, std::string_view path, std::string_view offset,
                             std::string_view securityId, std::string_view backgroundPath);

// The script that closes the tab whose window name is `donorName`: the one
// the plugin opened itself. It runs only in the strip's own document and
// keeps its variables in a function, as it holds the security id.
std::string CloseTabsScript(std::string_view securityId, std::string_view donorName);
// A window name no page can guess: the plugin's donor tab is known by it.
std::string NewDonorName();

}  // namespace tillwick
