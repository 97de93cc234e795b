// Text another process's window hands us through a pointer (captions, the
// address box): UTF-16 of any content, read up to the terminator or the count.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/wrapper.h"
#include "fuzz_target.h"

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return;
    // The first byte chooses the count the caller passes, which may run past
    // the terminator but never past the buffer (the callers' contract).
    const std::int32_t count = static_cast<std::int32_t>(data[0] % (size + 1)) - 1;
    std::vector<std::uint8_t> buffer(data + 1, data + size);
    (void)tillwick::PtrToText(buffer.empty() ? nullptr : buffer.data(), std::min<std::int32_t>(count, static_cast<std::int32_t>(buffer.size())));
}
