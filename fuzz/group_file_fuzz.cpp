// The host's group files (Groups\*.cgp): page lines read for the status bar.
#include <string_view>

#include "fuzz_target.h"
#include "menus/host_menus.h"

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)tillwick::GroupPageLines(text);
    (void)tillwick::IsPlainGroupName(text);
}
