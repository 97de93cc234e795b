// Add-on pages (the status-bar panels): their meta data as the editor reads it,
// and the page as it is made ready for its frame.
#include <string>
#include <string_view>

#include "fuzz_target.h"
#include "statushtml/panel_editor.h"
#include "statushtml/status_html_page.h"

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    for (std::string_view key : {"Addon-Name", "Addon-Author", "Addon-Version", "Addon-Width", "Addon-Top"})
        (void)tillwick::ReadAddonMeta(key, html);
    (void)tillwick::NameFromPath(html);
    (void)tillwick::PreparePanelPage(std::string(html), "C:\\Addons\\x'\"<y>.html", "2",
                                     "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}", "C:\\Plugin\\status1.bmp");
}
