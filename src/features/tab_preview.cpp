// The tab preview: a zoomed copy of the hovered tab's page in a pop-up window
// of the plugin's own. The copy is read through the host's `external` object
// from here, so no script runs in any page and the security id never enters
// one; it is cleaned by an allow-list of inert markup and written into a page
// view that the plugin makes for it ("AtlAxWin" showing about:blank), so no
// web page ever holds another tab's window or markup.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "base/convert.h"
#include "base/errors.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "features/tab_hover.h"
#include "features/tab_hover_state.h"

namespace tillwick {
namespace {

constexpr LONG kCursorGap = 18;
constexpr std::int32_t kMaxPixels = 1 << 24;
constexpr LONG kFrame = 4;  // the copy's 2-pixel border on each side
constexpr UINT kAttachMs = 100;
constexpr int kAttachTries = 10;
constexpr std::size_t kMaxMarkup = 1U << 20;  // a bigger page is previewed from its first megabyte

TabHoverState& Module() noexcept { return TabHoverData(); }

// A page's sizes and scroll offsets are its own to set (1e300, -2^31): kept
// within what a screen can show, so that adding the frame or zooming never overflows.
std::int32_t Bounded(double n) { return std::clamp(Saturated<std::int32_t>(n), -kMaxPixels, kMaxPixels); }

std::int32_t Number(const host::Object& object, std::string_view name) {
    const auto value = object.Get(name);
    if (!value) return 0;
    if (const auto* n = std::get_if<std::int32_t>(&*value)) return Bounded(*n);
    if (const auto* d = std::get_if<double>(&*value)) return Bounded(*d);
    return 0;
}

// The first of `names` that the document's root element, else its body, gives as non-zero.
std::int32_t Measure(const host::Object& document, std::string_view name) {
    const std::int32_t root = Number(document.GetObject("documentElement"), name);
    return root != 0 ? root : Number(document.GetObject("body"), name);
}

BOOL CALLBACK FindPageWindow(HWND wnd, LPARAM found) noexcept {
    if (!HasClass(wnd, contract::kPageViewClass)) return TRUE;
    *reinterpret_cast<HWND*>(found) = wnd;
    return FALSE;
}

HWND FirstPageWindow(HWND parent) {
    HWND found = nullptr;
    host::EnumChildWindows(parent, &FindPageWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The host's `external`, read as the page window's own property: a page's
// script can neither see this call nor the id that goes with it.
host::Object HostExternal() {
    const host::Object active = State().ActiveDocument.GetObject("parentWindow").GetObject("external");
    if (active) return active;
    return GetHtmlDocument(FirstPageWindow(State().MdiClientWnd)).GetObject("parentWindow").GetObject("external");
}

struct PageCopy {
    std::string markup, url;
    SIZE size{};
    POINT scroll{};
};

std::optional<PageCopy> CopyTab(std::int32_t index) {
    const auto got = HostExternal().Call("get_tab", {State().SecurityId, index});
    const host::Object* window = got ? std::get_if<host::Object>(&*got) : nullptr;
    const host::Object document = window ? window->GetObject("document") : host::Object();
    if (!document) return std::nullopt;
    PageCopy copy;
    copy.markup = document.GetObject("documentElement").GetText("innerHTML").value_or("");
    if (copy.markup.size() > kMaxMarkup) copy.markup.resize(kMaxMarkup);
    copy.url = document.GetText("URL").value_or("");
    copy.size = {Measure(document, "clientWidth") + kFrame, Measure(document, "clientHeight") + kFrame};
    copy.scroll = {Measure(document, "scrollLeft"), Measure(document, "scrollTop")};
    return copy;
}

// The pop-up and its page view, made once and kept hidden between previews.
bool MakeWindows() {
    TabHoverState& m = Module();
    if (m.PreviewWnd != nullptr) return true;
    if (!host::AtlAxWinInit()) return false;
    m.PreviewWnd = host::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "Static", "", WS_POPUP,
                                         0, 0, 0, 0, State().MainFrameWnd, nullptr, nullptr, nullptr);
    if (m.PreviewWnd == nullptr) return false;
    m.PreviewView = host::CreateWindowExA(0, "AtlAxWin", "about:blank", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                          m.PreviewWnd, nullptr, nullptr, nullptr);
    if (m.PreviewView != nullptr) return true;
    ReleasePreview();
    return false;
}

void CALLBACK AttachTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    TabHoverState& m = Module();
    features::EndTimer(m.AttachTimer, id);
    RunStep("AttachTimerProc", [&] {
        m.PreviewDocument = GetHtmlDocument(FirstPageWindow(m.PreviewView));
        if (m.PreviewDocument) return WritePreview();
        // The view may still be loading its blank page: look again a little later.
        if (++m.AttachTries < kAttachTries) features::RestartTimer(m.AttachTimer, kAttachMs, &AttachTimerProc);
    });
}

}  // namespace

std::string ZoomText(float zoom) {
    if (!std::isfinite(zoom)) zoom = 50.0F;
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.7g", static_cast<double>(zoom));
    return text.data();
}

RECT PreviewRect(SIZE page, float zoom, POINT cursor, LONG screenHeight) {
    const auto scaled = [&](LONG n) {
        return std::clamp<LONG>(Saturated<LONG>(zoom / 100.0 * static_cast<double>(n)), 0, kMaxPixels);
    };
    const LONG width = scaled(page.cx), height = scaled(page.cy);
    LONG top = cursor.y + kCursorGap;
    if (top + height > screenHeight) top = cursor.y - kCursorGap - height;
    return {cursor.x, top, cursor.x + width, top + height};
}

void ShowPreview(std::int16_t& index) {
    TabHoverState& m = Module();
    m.PreviewTab = index;
    m.PreviewCancelled = false;
    if (State().SecurityId.empty()) return;
    const std::optional<PageCopy> copy = CopyTab(index);
    if (!copy || !MakeWindows()) return;
    m.PreviewHtml = PreviewPage(copy->markup, copy->url, ZoomText(m.PreviewZoom));
    m.PreviewScroll = m.PreviewScrollPos ? copy->scroll : POINT{};
    POINT cursor{};
    host::GetCursorPos(&cursor);
    m.PreviewPlace = PreviewRect(copy->size, m.PreviewZoom, cursor, host::GetSystemMetrics(SM_CYSCREEN));
    if (m.PreviewDocument) return WritePreview();
    m.AttachTries = 0;
    features::RestartTimer(m.AttachTimer, 0, &AttachTimerProc);
}

void WritePreview() {
    TabHoverState& m = Module();
    if (m.PreviewCancelled) return;
    // Written as a document, not run as script: nothing in the copy can run.
    m.PreviewDocument.Call("write", {m.PreviewHtml});
    m.PreviewDocument.Call("close");
    if (m.PreviewScroll.x != 0 || m.PreviewScroll.y != 0) {
        const host::Object body = m.PreviewDocument.GetObject("body");
        body.Put("scrollLeft", static_cast<std::int32_t>(m.PreviewScroll.x));
        body.Put("scrollTop", static_cast<std::int32_t>(m.PreviewScroll.y));
    }
    const RECT& r = m.PreviewPlace;
    host::MoveWindow(m.PreviewView, 0, 0, r.right - r.left, r.bottom - r.top, TRUE);
    host::SetWindowPos(m.PreviewWnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m.PreviewShown = true;
}

void ClosePreview() noexcept {
    TabHoverState& m = Module();
    m.PreviewCancelled = true;
    m.PreviewShown = false;
    features::EndTimer(m.AttachTimer);
    m.PreviewHtml.clear();
    RunStep([&] {
        if (m.PreviewWnd != nullptr) host::ShowWindow(m.PreviewWnd, SW_HIDE);
        // The copy does not outlive the preview.
        if (!m.PreviewDocument) return;
        m.PreviewDocument.Call("write", {std::string()});
        m.PreviewDocument.Call("close");
    });
}

void ReleasePreview() noexcept {
    TabHoverState& m = Module();
    ClosePreview();
    RunStep([&] {
        if (m.PreviewWnd != nullptr) host::DestroyWindow(m.PreviewWnd);  // the view goes with it
    });
    m.PreviewWnd = m.PreviewView = nullptr;
    m.PreviewDocument = host::Object();
}

}  // namespace tillwick
