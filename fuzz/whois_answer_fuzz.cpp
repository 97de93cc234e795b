// What the WHOIS services answer: text pages with "Field: value" lines and
// JSON objects, from the network, so anything at all.
#include <string_view>

#include "fuzz_target.h"
#include "statusinfo/whois_answer.h"

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view body(reinterpret_cast<const char*>(data), size);
    const tillwick::RegistryAnswer answer = tillwick::ReadRegistryAnswer(body);
    (void)tillwick::IsReferral(answer.netName, "ARIN");
    (void)tillwick::ExtractFieldText("netname", body);
    (void)tillwick::ReportTextOf(body);
}
