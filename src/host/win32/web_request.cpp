// Name resolution through Windows Sockets, and web requests through WinHTTP.
// Both run on worker threads of their own with the platform's blocking calls;
// the UI thread only polls a completion flag, so nothing waits on the network
// there. A cancelled request has its WinHTTP handle closed from the UI thread;
// where that does not interrupt a blocked receive (Wine), the worker stops at
// the next data to arrive. Every request ends by its deadline whatever the
// server sends.
#include "host/host.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "host/text.h"
#include "host/win32/guard.h"

namespace host {
namespace {

constexpr std::size_t kMaxBody = 4 * 1024 * 1024;
// A resolver that hangs holds one thread each; past this many, lookups wait their turn.
constexpr int kMaxLiveLookups = 4;

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

struct WorkerStart {
    std::function<void()> work;
    HMODULE module = nullptr;
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    win32::Guarded(0, [&] {
        start->work();
        return 0;
    });
    const HMODULE module = start->module;
    start.reset();
    // The thread held the plugin's module loaded until here.
    if (module != nullptr) ::FreeLibraryAndExitThread(module, 0);
    return 0;
}

// Runs `work` on a thread of its own that holds the plugin's module loaded until it ends.
bool RunOnWorker(std::function<void()> work) {
    auto start = std::make_unique<WorkerStart>(WorkerStart{std::move(work), nullptr});
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&WorkerThread),
                         &start->module);
    HANDLE thread = ::CreateThread(nullptr, 0, &WorkerThread, start.get(), 0, nullptr);
    if (thread == nullptr) {
        if (start->module != nullptr) ::FreeLibrary(start->module);
        return false;
    }
    start.release();
    ::CloseHandle(thread);
    return true;
}

// ---- web requests

struct Job {
    HttpRequestSpec request;
    HttpResult result;
    std::atomic<bool> done{false};
    DWORD deadline = 0;  // GetTickCount() value
    std::mutex mutex;    // guards the request handle and the cancelled flag
    HINTERNET requestHandle = nullptr;
    bool cancelled = false;

    // Milliseconds left before the deadline; 0 once it has passed.
    DWORD Remaining() const {
        const auto left = static_cast<std::int32_t>(deadline - ::GetTickCount());
        return left > 0 ? static_cast<DWORD>(left) : 0;
    }
    bool Cancelled() {
        std::lock_guard<std::mutex> lock(mutex);
        return cancelled;
    }
    // From the UI thread (cancel true): closing the handle fails the worker's
    // blocking call. From the worker when it is done, unless a cancel closed it first.
    void CloseRequest(bool cancel) {
        std::lock_guard<std::mutex> lock(mutex);
        cancelled = cancelled || cancel;
        if (requestHandle != nullptr) ::WinHttpCloseHandle(requestHandle);
        requestHandle = nullptr;
    }
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

// Every wait of the next blocking call ends by the deadline.
bool BoundByDeadline(HINTERNET handle, Job& job) {
    const DWORD left = job.Remaining();
    if (left == 0 || job.Cancelled()) return false;
    const int ms = static_cast<int>(left);
    return ::WinHttpSetTimeouts(handle, ms, ms, ms, ms) != FALSE;
}

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
    if (session.h == nullptr || !BoundByDeadline(session.h, job)) return;
    Handle connection{::WinHttpConnect(session.h, hostName, parts.nPort, 0)};
    if (connection.h == nullptr) return;
    const std::wstring object = std::wstring(path) + extra;
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    HINTERNET request = ::WinHttpOpenRequest(connection.h, Wide(job.request.method).c_str(), object.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure);
    if (request == nullptr) return;
    {
        std::lock_guard<std::mutex> lock(job.mutex);
        if (job.cancelled) {
            ::WinHttpCloseHandle(request);
            return;
        }
        job.requestHandle = request;
    }
    // From here on the handle may be closed under the worker's feet; each call then fails.
    const std::wstring headers =
        job.request.contentType.empty() ? std::wstring() : L"Content-Type: " + Wide(job.request.contentType) + L"\r\n";
    void* body = job.request.body.empty() ? WINHTTP_NO_REQUEST_DATA : job.request.body.data();
    const auto length = static_cast<DWORD>(job.request.body.size());
    if (!BoundByDeadline(request, job) ||
        !::WinHttpSendRequest(request, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                              headers.empty() ? 0 : static_cast<DWORD>(-1L), body, length, length, 0) ||
        !BoundByDeadline(request, job) || !::WinHttpReceiveResponse(request, nullptr))
        return;
    DWORD status = 0;
    DWORD size = sizeof(status);
    ::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                          &status, &size, WINHTTP_NO_HEADER_INDEX);
    // Each read takes only what has arrived, so a server that dribbles returns
    // control to the cancel and deadline checks at every byte.
    std::string text;
    for (;;) {
        char buffer[8192];
        DWORD available = 0;
        DWORD read = 0;
        if (!BoundByDeadline(request, job) || !::WinHttpQueryDataAvailable(request, &available)) return;
        if (available == 0) break;
        if (!::WinHttpReadData(request, buffer, std::min<DWORD>(available, sizeof(buffer)), &read)) return;
        if (read == 0) break;
        text.append(buffer, read);
        if (text.size() > kMaxBody) return;
    }
    if (!job.Cancelled()) job.result = HttpResult{true, static_cast<int>(status), std::move(text)};
}

// ---- name lookups

struct Lookup {
    std::string name;
    std::vector<ResolvedAddress> addresses;
    std::atomic<bool> done{false};
};

std::map<NameLookupId, std::shared_ptr<Lookup>>& Lookups() {
    static std::map<NameLookupId, std::shared_ptr<Lookup>> lookups;
    return lookups;
}

std::atomic<int> g_liveLookups{0};

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

NameLookupId StartNameLookup(const std::string& name) {
    return win32::Guarded(NameLookupId{0}, [&]() -> NameLookupId {
        static NameLookupId next = 0;
        if (g_liveLookups.load() >= kMaxLiveLookups) return 0;
        auto lookup = std::make_shared<Lookup>();
        lookup->name = name;
        ++g_liveLookups;
        const bool started = RunOnWorker([lookup] {
            lookup->addresses = ResolveHostName(lookup->name);
            lookup->done = true;
            --g_liveLookups;
        });
        if (!started) {
            --g_liveLookups;
            return 0;
        }
        const NameLookupId id = ++next;
        Lookups()[id] = std::move(lookup);
        return id;
    });
}

std::optional<std::vector<ResolvedAddress>> PollNameLookup(NameLookupId id) {
    std::optional<std::vector<ResolvedAddress>> addresses;
    const auto it = Lookups().find(id);
    if (it == Lookups().end() || !it->second->done) return addresses;
    win32::Guarded(0, [&] {
        addresses.emplace(it->second->addresses);
        return 0;
    });
    return addresses;
}

// The resolver cannot be interrupted; its thread ends with the resolver's own time-out.
void CancelNameLookup(NameLookupId id) { Lookups().erase(id); }

HttpRequestId StartHttpRequest(const HttpRequestSpec& request) {
    return win32::Guarded(HttpRequestId{0}, [&]() -> HttpRequestId {
        static HttpRequestId next = 0;
        auto job = std::make_shared<Job>();
        job->request = request;
        job->deadline = ::GetTickCount() + kHttpDeadlineMs;
        const bool started = RunOnWorker([job] {
            win32::Guarded(0, [&] {
                Perform(*job);
                return 0;
            });
            job->CloseRequest(false);
            job->done = true;
        });
        if (!started) return 0;
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

void CancelHttpRequest(HttpRequestId id) {
    const auto it = Jobs().find(id);
    if (it == Jobs().end()) return;
    it->second->CloseRequest(true);
    Jobs().erase(it);
}

}  // namespace host
