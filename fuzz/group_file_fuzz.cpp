// The host's group files (Groups\*.cgp): page lines read for the status bar.
#include <string_view>

#include "menus/host_menus.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)tillwick::GroupPageLines(text);
    (void)tillwick::IsPlainGroupName(text);
    return 0;
}
