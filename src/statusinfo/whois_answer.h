// Reading the registries' WHOIS answers: text pages with "Field: value" lines,
// or RDAP JSON. Pure functions, no state.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "host/host.h"

namespace tillwick {

// The registries in the order in which they are asked.
inline constexpr std::array<std::string_view, 5> kRegistries{"ARIN", "APNIC", "LACNIC", "RIPE", "AfriNIC"};

// The request for one registry at base address `base` ("https://host[:port]", or http);
// nullopt for a name that is not a registry.
std::optional<host::HttpRequestSpec> WhoisRequest(std::string_view registry, std::string_view base,
                                                  std::string_view address);
// The registry asked after `registry`; empty after the last one.
std::string_view NextRegistry(std::string_view registry);

// The value after "field:" (any case) up to the line feed, trimmed, tags removed;
// "" when the field is missing or its line has no line feed.
std::string ExtractFieldText(std::string_view field, std::string_view text);

struct RegistryAnswer {
    std::string netName;
    std::string country;
};
// Text answers through ExtractFieldText; a JSON object through its "name" and "country".
RegistryAnswer ReadRegistryAnswer(std::string_view body);
// The answer sends us on to another registry.
bool IsReferral(std::string_view netName, std::string_view currentRegistry);
// What the report shows, as plain text: the inside of the answer's pre block
// (from the first "<pre" to the last "</pre>"), JSON laid out, or the whole
// answer when it has no pre block.
std::string ReportTextOf(std::string_view body);

}  // namespace tillwick
