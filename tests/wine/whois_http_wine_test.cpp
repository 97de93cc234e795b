// The WHOIS lookup over real HTTP: WinHTTP against a small server of the
// test's own on 127.0.0.1 that plays the registries (a referral, a silent
// registry past the time-out, an RDAP answer, a hostile report).
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/state.h"
#include "core/wrapper.h"
#include "statusinfo/statusinfo.h"
#include "statusinfo/statusinfo_state.h"
#include "support/exe_folder.h"
#include "support/platform.h"

namespace {

constexpr int kMaxConnections = 12;
constexpr auto kServerLifetime = std::chrono::seconds(90);
constexpr auto kSlowAnswerDelay = std::chrono::milliseconds(16'500);
constexpr auto kDribbleEvery = std::chrono::seconds(2);

const char* const kHostile =
    "<html><pre>NetName: EVIL-NET\nCountry: US\n</pre><iframe src=x></iframe><script>alert(1)</script>"
    "<img src=x onerror=alert(2)></pre>";

// Answers at most kMaxConnections requests within kServerLifetime, one thread per connection.
class RegistryServer {
public:
    RegistryServer() {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof(at));
        ::listen(listener_, 8);
        int size = sizeof(at);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
        port_ = ::ntohs(at.sin_port);
        acceptor_ = std::thread([this] { Accept(); });
    }
    ~RegistryServer() {
        stop_ = true;
        ::closesocket(listener_);
        acceptor_.join();
        for (auto& t : handlers_) t.join();
    }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    // When the client closed the connection of a dribbled answer to `path`, if it has.
    std::optional<std::chrono::steady_clock::time_point> ClosedAt(const std::string& path) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = closed_.find(path);
        return it == closed_.end() ? std::nullopt : std::optional(it->second);
    }

private:
    void Accept() {
        const auto end = std::chrono::steady_clock::now() + kServerLifetime;
        for (int served = 0; served < kMaxConnections && !stop_ && std::chrono::steady_clock::now() < end; ++served) {
            SOCKET s = ::accept(listener_, nullptr, nullptr);
            if (s == INVALID_SOCKET) return;
            handlers_.emplace_back([this, s] { Serve(s); });
        }
    }
    void Serve(SOCKET s) {
        std::string in;
        char buffer[4096];
        std::size_t headerEnd = std::string::npos;
        std::size_t length = 0;
        for (int n; (n = ::recv(s, buffer, sizeof(buffer), 0)) > 0;) {
            in.append(buffer, static_cast<std::size_t>(n));
            if (headerEnd == std::string::npos && (headerEnd = in.find("\r\n\r\n")) != std::string::npos) {
                const auto cl = in.find("Content-Length: ");
                if (cl != std::string::npos && cl < headerEnd) length = std::stoul(in.substr(cl + 16));
            }
            if (headerEnd != std::string::npos && in.size() >= headerEnd + 4 + length) break;
        }
        const std::string line = in.substr(0, in.find("\r\n"));
        const std::string body = headerEnd == std::string::npos ? "" : in.substr(headerEnd + 4);
        const bool form = in.find("Content-Type: application/x-www-form-urlencoded") != std::string::npos;
        int seen = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(line + (form ? " form " : " ") + body);
            seen = ++counts_[line.substr(0, line.find('?'))];
        }
        if (line.find("/dribble/") != std::string::npos) return Dribble(s, line.substr(0, line.find(' ', 4)));
        // APNIC is silent past the time-out the first time and hostile after.
        const bool late = seen == 1 && line.find("/apnic-bin/") != std::string::npos;
        for (auto until = std::chrono::steady_clock::now() + kSlowAnswerDelay;
             late && !stop_ && std::chrono::steady_clock::now() < until;)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::pair<const char*, std::string> answers[] = {
            {"/whois/", "NetName: RIPE-ERX-192\nCountry: EU\n"},
            {"/apnic-bin/", late ? "NetName: TOO-LATE\nCountry: JP\n" : kHostile},
            {"/lacnic/", R"({"objectClassName":"ip network","name":"LACNIC-TEST","country":"DE"})"},
        };
        std::string answer;
        for (const auto& [path, text] : answers)
            if (line.find(path) != std::string::npos) answer = text;
        const std::string out = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
                                std::to_string(answer.size()) + "\r\n\r\n" + answer;
        ::send(s, out.data(), static_cast<int>(out.size()), 0);
        ::closesocket(s);
    }

    // A long answer, one byte every kDribbleEvery, until the client closes the connection.
    void Dribble(SOCKET s, const std::string& path) {
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 100000\r\n\r\nN";
        ::send(s, head.data(), static_cast<int>(head.size()), 0);
        auto next = std::chrono::steady_clock::now() + kDribbleEvery;
        for (const auto end = std::chrono::steady_clock::now() + kServerLifetime; !stop_ && std::chrono::steady_clock::now() < end;) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(s, &readable);
            timeval wait{0, 50'000};
            char byte = 0;
            if (::select(0, &readable, nullptr, nullptr, &wait) == 1 && ::recv(s, &byte, 1, 0) <= 0) {
                std::lock_guard<std::mutex> lock(mutex_);
                closed_[path] = std::chrono::steady_clock::now();
                break;
            }
            if (std::chrono::steady_clock::now() >= next) {
                ::send(s, "x", 1, 0);
                next += kDribbleEvery;
            }
        }
        ::closesocket(s);
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread acceptor_;
    std::vector<std::thread> handlers_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
    std::map<std::string, int> counts_;
    std::map<std::string, std::chrono::steady_clock::time_point> closed_;
};

bool PumpUntil(const std::function<bool()>& done, int ms) {
    for (int waited = 0; waited < ms; waited += 100) {
        if (done()) return true;
        testsupport::PumpFor(100);
    }
    return done();
}

TEST(WhoisHttpWine, ChainOverRealHttpWithReferralTimeOutRdapAndAHostileReport) {
    using namespace tillwick;
    ResetState();
    RegistryServer server;
    tillwick::SetPluginFolder(testsupport::ExeFolder() + "tillwick_whois_wine");
    ::CreateDirectoryA(tillwick::PluginFolder().c_str(), nullptr);
    ::DeleteFileA(ScratchFilePath().c_str());
    for (const char* registry : {"ARIN", "APNIC", "LACNIC", "RIPE", "AfriNIC"})
        WriteSetting(registry, server.Base(), "Whois");
    CacheAddress("example.test", "192.0.2.9");
    StatusBarInfoState& info = tillwick::StatusInfoData().Info;
    info.HostName = "example.test";
    info.ShowLocation = true;
    info.LocationLabel = "IP Location:  ";

    WhoisLookup("192.0.2.9", "ARIN");
    ASSERT_TRUE(PumpUntil([] { return !CachedLocation("192.0.2.9").empty(); }, 25'000));
    EXPECT_EQ(CachedLocation("192.0.2.9"), "DE");  // the late answer was dropped with its request
    EXPECT_EQ(info.LocationText, "IP Location:  DE");

    info.ReportRequested = true;
    WhoisLookup("192.0.2.9", "ARIN");
    ASSERT_TRUE(PumpUntil([&] { return !tillwick::StatusInfoData().Whois.ReportText.empty(); }, 10'000));
    const std::string html = ReportBodyHtml();
    EXPECT_NE(html.find("APNIC WHOIS database for 192.0.2.9"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    StopWhois();

    const std::vector<std::string> expected = {
        "GET /whois/?queryinput=192.0.2.9 HTTP/1.1 ",
        "POST /apnic-bin/whois.pl HTTP/1.1 form searchtext=192.0.2.9",
        "POST /cgi-bin/lacnic/whois?lg=EN HTTP/1.1 form query=192.0.2.9",
        "GET /whois/?queryinput=192.0.2.9 HTTP/1.1 ",
        "POST /apnic-bin/whois.pl HTTP/1.1 form searchtext=192.0.2.9",
    };
    EXPECT_EQ(server.Requests(), expected);
    ResetState();
}

// A server that sends a byte every two seconds: a cancelled request lets go of
// its connection by the next byte, and one left alone ends by its deadline.
TEST(WhoisHttpWine, ADribblingServerHoldsNoRequestPastItsCancelOrItsDeadline) {
    using clock = std::chrono::steady_clock;
    RegistryServer server;
    const host::HttpRequestId cancelled = host::StartHttpRequest({"GET", server.Base() + "/dribble/cancelled", "", ""});
    const host::HttpRequestId left = host::StartHttpRequest({"GET", server.Base() + "/dribble/left", "", ""});
    const auto started = clock::now();
    testsupport::PumpFor(5000);
    EXPECT_FALSE(host::PollHttpRequest(cancelled));
    const auto cancelledAt = clock::now();
    host::CancelHttpRequest(cancelled);
    // Wine's WinHTTP finishes a receive that is under way: the worker stops at the next byte.
    ASSERT_TRUE(PumpUntil([&] { return server.ClosedAt("GET /dribble/cancelled").has_value(); }, 5000));
    EXPECT_LT(*server.ClosedAt("GET /dribble/cancelled") - cancelledAt, kDribbleEvery + std::chrono::seconds(1));

    ASSERT_TRUE(PumpUntil([&] { return host::PollHttpRequest(left).has_value(); }, 15'000));
    EXPECT_FALSE(host::PollHttpRequest(left)->ok);
    EXPECT_LT(clock::now() - started, std::chrono::milliseconds(host::kHttpDeadlineMs + 2000));
    EXPECT_TRUE(PumpUntil([&] { return server.ClosedAt("GET /dribble/left").has_value(); }, 2000));
    host::CancelHttpRequest(left);
}

// Name resolution runs on a worker: the UI thread polls for its answer.
TEST(WhoisHttpWine, NameLookupsGiveIpv4FirstAndABlankForAnUnknownName) {
    for (const auto& [name, address] : {std::pair<std::string, std::string>{"localhost", "127.0.0.1"},
                                        {"no-such-host.invalid", " "}}) {
        SCOPED_TRACE(name);
        const host::NameLookupId id = host::StartNameLookup(name);
        ASSERT_NE(id, 0u);
        ASSERT_TRUE(PumpUntil([&] { return host::PollNameLookup(id).has_value(); }, 20'000));
        EXPECT_EQ(tillwick::AddressText(*host::PollNameLookup(id)), address);
        host::CancelNameLookup(id);
    }
}

}  // namespace
