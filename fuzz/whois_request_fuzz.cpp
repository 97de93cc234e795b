// What the WHOIS lookup sends and caches for an address or host name taken
// from the page or from the scratch file a user can edit: the address reaches
// the registry as it is, never as more query or form fields, and the cache
// gives back what it was given under any name. The first byte picks the check.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "settings/settings_files.h"
#include "core/state.h"
#include "fuzz_target.h"
#include "host/sim/sim.h"
#include "statusinfo/statusinfo.h"
#include "statusinfo/whois_answer.h"

namespace {

// The encoded value's bytes, or nullopt when it holds anything but unreserved characters and %XX.
std::optional<std::string> PercentDecoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (std::isalnum(c) || std::string_view(".-_~:").find(static_cast<char>(c)) != std::string_view::npos) {
            out += s[i];
            continue;
        }
        unsigned byte = 0;
        if (c != '%' || i + 2 >= s.size() || std::from_chars(&s[i + 1], &s[i + 3], byte, 16).ptr != &s[i + 3])
            return std::nullopt;
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

// The part of `with` that `without` lacks, when `with` is `without` with one piece put in.
std::optional<std::string_view> PutIn(std::string_view with, std::string_view without) {
    if (with.size() < without.size()) return std::nullopt;
    const std::size_t at = std::mismatch(without.begin(), without.end(), with.begin()).first - without.begin();
    const std::size_t length = with.size() - without.size();
    if (with.substr(at + length) != without.substr(at)) return std::nullopt;
    return with.substr(at, length);
}

void Request(FuzzedDataProvider& in) {
    const std::string_view registry = tillwick::kRegistries[in.ConsumeIntegralInRange<std::size_t>(0, 4)];
    const std::string base = in.ConsumeRandomLengthString(64);
    const std::string address = in.ConsumeRemainingBytesAsString();
    const auto sent = tillwick::WhoisRequest(registry, base, address);
    const auto bare = tillwick::WhoisRequest(registry, base, "");
    if (!sent || !bare || sent->method != bare->method || sent->contentType != bare->contentType) std::abort();
    const bool inUrl = sent->body.empty() || sent->body == bare->body;
    const auto value = inUrl ? PutIn(sent->url, bare->url) : PutIn(sent->body, bare->body);
    if (!value || (inUrl ? sent->body != bare->body : sent->url != bare->url) || PercentDecoded(*value) != address)
        std::abort();
}

void Cache(FuzzedDataProvider& in) {
    host::sim::Reset();
    tillwick::ResetState();
    tillwick::SetPluginFolder("C:\\Plugin");
    host::sim::PutFile("C:\\Plugin\\temp", "");
    const std::string name = in.ConsumeRemainingBytesAsString();
    // No host name (nothing but blanks and control characters): nothing cached.
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; })) return;
    tillwick::CacheAddress(name, "192.0.2.7");
    tillwick::CacheLocation(name, "Nowhere");
    if (tillwick::CachedAddress(name) != "192.0.2.7" || tillwick::CachedLocation(name) != "Nowhere") std::abort();
}

}  // namespace

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool())
        Request(in);
    else
        Cache(in);
}
