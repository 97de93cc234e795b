// Name resolution through Windows Sockets, and web requests through WinHTTP.
// A request runs on a worker thread of its own with WinHTTP's blocking calls
// and time-outs; the UI thread only polls its completion flag, so nothing
// waits on the network there.
#include "host/host.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <winhttp.h>

#include <atomic>
#include <map>
#include <memory>

#include "host/text.h"
#include "host/win32/guard.h"

namespace host {
namespace {

constexpr int kTimeoutMs = 15000;
constexpr std::size_t kMaxBody = 4 * 1024 * 1024;

bool SocketsReady() {
    static const bool ready = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

std::wstring Wide(const std::string& text) {
    const std::u16string w = AnsiToWide(text);
    return std::wstring(w.begin(), w.end());
}

struct Job {
    HttpRequestSpec request;
    HttpResult result;
    std::atomic<bool> done{false};
};

std::map<HttpRequestId, std::shared_ptr<Job>>& Jobs() {
    static std::map<HttpRequestId, std::shared_ptr<Job>> jobs;
    return jobs;
}

// Closes a WinHTTP handle when it goes out of scope.
struct Handle {
    HINTERNET h = nullptr;
    ~Handle() {
        if (h != nullptr) ::WinHttpCloseHandle(h);
    }
};

void Perform(Job& job) {
    const std::wstring url = Wide(job.request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    wchar_t hostName[256] = {};
    wchar_t path[2048] = {};
    wchar_t extra[2048] = {};
    parts.lpszHostName = hostName;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = 2048;
    if (!::WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return;
    Handle session{::WinHttpOpen(L"Tillwick", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0)};
    if (session.h == nullptr) return;
    ::WinHttpSetTimeouts(session.h, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs);
    Handle connection{::WinHttpConnect(session.h, hostName, parts.nPort, 0)};
    if (connection.h == nullptr) return;
    const std::wstring object = std::wstring(path) + extra;
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    Handle request{::WinHttpOpenRequest(connection.h, Wide(job.request.method).c_str(), object.c_str(), nullptr,
                                        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure)};
    if (request.h == nullptr) return;
    const std::wstring headers =
        job.request.contentType.empty() ? std::wstring() : L"Content-Type: " + Wide(job.request.contentType) + L"\r\n";
    void* body = job.request.body.empty() ? WINHTTP_NO_REQUEST_DATA : job.request.body.data();
    const auto length = static_cast<DWORD>(job.request.body.size());
    if (!::WinHttpSendRequest(request.h, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                              headers.empty() ? 0 : static_cast<DWORD>(-1L), body, length, length, 0) ||
        !::WinHttpReceiveResponse(request.h, nullptr))
        return;
    DWORD status = 0;
    DWORD size = sizeof(status);
    ::WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                          &status, &size, WINHTTP_NO_HEADER_INDEX);
    std::string text;
    for (;;) {
        char buffer[8192];
        DWORD read = 0;
        if (!::WinHttpReadData(request.h, buffer, sizeof(buffer), &read)) return;
        if (read == 0) break;
        text.append(buffer, read);
        if (text.size() > kMaxBody) return;
    }
    job.result = HttpResult{true, static_cast<int>(status), std::move(text)};
}

struct ThreadStart {
    std::shared_ptr<Job> job;
    HMODULE module;
};

DWORD WINAPI RequestThread(void* parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    win32::Guarded(0, [&] {
        Perform(*start->job);
        return 0;
    });
    start->job->done = true;
    const HMODULE module = start->module;
    start.reset();
    // The thread held the plugin's module loaded until here.
    if (module != nullptr) ::FreeLibraryAndExitThread(module, 0);
    return 0;
}

}  // namespace

std::vector<ResolvedAddress> ResolveHostName(const std::string& name) {
    return win32::Guarded(std::vector<ResolvedAddress>{}, [&] {
        std::vector<ResolvedAddress> out;
        if (name.empty() || !SocketsReady()) return out;
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        if (::getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0) return out;
        for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
            char text[NI_MAXHOST] = {};
            if (::getnameinfo(a->ai_addr, static_cast<int>(a->ai_addrlen), text, sizeof(text), nullptr, 0,
                              NI_NUMERICHOST) == 0)
                out.push_back({a->ai_family == AF_INET6, text});
        }
        ::freeaddrinfo(list);
        return out;
    });
}

HttpRequestId StartHttpRequest(const HttpRequestSpec& request) {
    return win32::Guarded(HttpRequestId{0}, [&]() -> HttpRequestId {
        static HttpRequestId next = 0;
        auto job = std::make_shared<Job>();
        job->request = request;
        HMODULE module = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&RequestThread),
                             &module);
        auto start = std::make_unique<ThreadStart>(ThreadStart{job, module});
        HANDLE thread = ::CreateThread(nullptr, 0, &RequestThread, start.get(), 0, nullptr);
        if (thread == nullptr) {
            if (module != nullptr) ::FreeLibrary(module);
            return 0;
        }
        start.release();
        ::CloseHandle(thread);
        const HttpRequestId id = ++next;
        Jobs()[id] = std::move(job);
        return id;
    });
}

std::optional<HttpResult> PollHttpRequest(HttpRequestId id) {
    const auto it = Jobs().find(id);
    if (it == Jobs().end() || !it->second->done) return std::nullopt;
    return it->second->result;
}

void CancelHttpRequest(HttpRequestId id) { Jobs().erase(id); }

}  // namespace host
