// The sim's security zones, name resolution and web requests: tables and
// queues that tests fill and read. Plugin code never includes this.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace host::sim {

struct ZoneMappingCall {
    std::int32_t zone;
    std::string pattern;
    bool remove;
};
// The zone MapUrlToZone gives for every address whose host name is `hostName`
// (3, Internet, for the others; 0 for file: addresses).
void SetHostZone(const std::string& hostName, std::int32_t zone);
const std::vector<ZoneMappingCall>& ZoneMappingCalls();
void SetUserRegistryDword(const std::string& subKey, const std::string& valueName, std::uint32_t value);
int SecurityDialogCount();
// Icons loaded and not destroyed; the icon set on a window with STM_SETIMAGE.
int LiveIconCount();
std::string IconPath(LPARAM icon);

// Name resolution: the addresses of a name (none: it cannot be resolved). A
// name lookup answers from them at its first poll.
void SetHostAddresses(const std::string& name, std::vector<ResolvedAddress> addresses);
int ResolveCount();  // calls of the blocking ResolveHostName
int OpenNameLookupCount();  // started, not cancelled

// Web requests: every request started, and the test's answer to one.
struct SimHttpRequest {
    HttpRequestId id;
    HttpRequestSpec request;
    bool cancelled = false;
    std::optional<HttpResult> answer;
};
const std::vector<SimHttpRequest>& HttpRequests();
// Completes request `id` (an earlier request's answer stays unseen if it was cancelled).
void AnswerHttpRequest(HttpRequestId id, HttpResult result);
int OpenHttpRequestCount();  // started, not cancelled

void ResetStatusInfo();  // part of Reset()

}  // namespace host::sim
