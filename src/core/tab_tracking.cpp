// Tracking the active tab: after the main frame's caption requests settle,
// find the active tab's page window, hook it (the previous one restored
// first), take its document and tell the features.
#include <algorithm>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/subclassing.h"
#include "core/wrapper.h"

namespace tillwick {
namespace {

constexpr UINT kTabSettleMs = 100;

void StartTabTrackTimer(TIMERPROC proc, UINT ms = kTabSettleMs) {
    SubclassingState& sub = State().Subclassing;
    host::KillTimer(nullptr, sub.TabTrackTimerId);
    sub.TabTrackTimerId = host::SetTimer(nullptr, 0, ms, proc);
    sub.TabTrackProc = proc;
}

// Resets SelfCommandInProgress however the command ends.
class SelfCommandScope {
public:
    SelfCommandScope() noexcept { State().SelfCommandInProgress = true; }
    ~SelfCommandScope() { State().SelfCommandInProgress = false; }
    SelfCommandScope(const SelfCommandScope&) = delete;
    SelfCommandScope& operator=(const SelfCommandScope&) = delete;
};

// Pressing our own button makes the host call Exec on the active tab's plugin
// object, which points CurrentBrowser at that tab's browser without the dialog.
void PressOwnButton() {
    SharedState& s = State();
    SelfCommandScope scope;
    SendHostCommand(static_cast<WPARAM>(s.OwnCommandId));
}

// The previous page window gets its procedure back unless another add-on
// hooked it after us; then ours stays in its chain, kept with what it saved.
// A window that still carries ours is taken back as it is, never hooked twice.
void HookPageView(HWND wnd) {
    SubclassingState& sub = State().Subclassing;
    HookSlot& slot = sub.slot(HookedWindow::PageView);
    const bool wanted = HookWantedFor(HookedWindow::PageView);
    if (slot.savedProc != 0 && slot.wnd == wnd && wanted) return;
    if (slot.savedProc != 0 && !RestoreProcedure(slot, &PageViewProc)) {
        std::erase_if(sub.leftBehind, [](const HookSlot& left) { return !host::IsWindow(left.wnd); });
        sub.leftBehind.push_back(slot);
    }
    slot.savedProc = 0;  // never put this procedure on another window
    slot.wnd = wnd;
    const auto kept = std::find_if(sub.leftBehind.begin(), sub.leftBehind.end(),
                                   [wnd](const HookSlot& left) { return left.wnd == wnd; });
    if (kept != sub.leftBehind.end()) {
        slot.savedProc = kept->savedProc;
        sub.leftBehind.erase(kept);
    } else if (wanted) {
        slot.savedProc = host::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PageViewProc));
        slot.installed = slot.installed || slot.savedProc != 0;
    }
}

}  // namespace

void PostponeActiveViewTimer() noexcept {
    RunStep("tab tracking: caption request", [] {
        SubclassingState& sub = State().Subclassing;
        sub.ActiveViewDue = host::TickCount() + kTabSettleMs;
        const bool armed = sub.TabTrackTimerId != 0 && sub.TabTrackProc == &ActiveViewTimer;
        if (!armed) StartTabTrackTimer(&ActiveViewTimer);
    });
}

void CALLBACK ActiveViewTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
    SharedState& s = State();
    // Caption requests since the timer was armed moved the deadline: wait for the rest.
    const bool early = RunStepOr("ActiveViewTimer: deadline", false, [&] {
        const auto left = static_cast<std::int32_t>(s.Subclassing.ActiveViewDue - host::TickCount());
        if (left <= 0) return false;
        StartTabTrackTimer(&ActiveViewTimer, static_cast<UINT>(left));
        return s.Subclassing.TabTrackTimerId != 0;
    });
    if (early) return;
    RunStep("ActiveViewTimer", [&] {
        host::KillTimer(nullptr, s.Subclassing.TabTrackTimerId);
        s.Subclassing.TabTrackTimerId = 0;
    });
    RunStep("ActiveViewTimer: own button", [&] {
        if (s.CustomProgressOn && s.OwnCommandId > 0) PressOwnButton();
    });
    RunStep("ActiveViewTimer: active tab", [&] {
        s.ActiveChildWnd = ActiveMdiChild();
    });
    RunStep("ActiveViewTimer", [] { StartTabTrackTimer(&FindPageViewTimer); });
}

void CALLBACK FindPageViewTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
    host::EnumChildWindows(State().ActiveChildWnd, &AttachPageView, 0);
}

BOOL CALLBACK AttachPageView(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kPageViewClass)) return TRUE;
    SharedState& s = State();
    RunStep("AttachPageView", [&] {
        host::KillTimer(nullptr, s.Subclassing.TabTrackTimerId);
        s.Subclassing.TabTrackTimerId = 0;
        s.PageViewWnd = wnd;
    });
    // Once the hooks are removed for the process, the page window is only tracked.
    if (!s.Subclassing.removedForProcess) RunStep("AttachPageView: hook", [&] { HookPageView(wnd); });
    RunStep("AttachPageView: document", [&] { s.ActiveDocument = GetHtmlDocument(wnd); });
    NotifyFeatures(SpineNotice{Notice::TabSwitched});
    return FALSE;
}

}  // namespace tillwick
