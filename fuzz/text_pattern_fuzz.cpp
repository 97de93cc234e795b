// Users' patterns from the settings file (menu and plugin filters), tested
// against names from the host: any pattern, any text, never a crash or a hang.
#include <fuzzer/FuzzedDataProvider.h>

#include "base/errors.h"
#include "core/text_pattern.h"
#include "fuzz_target.h"

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const tillwick::TextPattern pattern(in.ConsumeRandomLengthString());
    const std::string text = in.ConsumeRemainingBytesAsString();
    try {
        (void)pattern.Matches(text);
    } catch (const tillwick::StepError&) {
        // An invalid pattern or one that needs too much work: the step fails, as designed.
    }
}
