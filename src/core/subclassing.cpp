// The table of hooked windows, InstallSubclasses / UnhookAll,
// the window procedures and their dispatch tables.
//
// A window procedure runs for every message of a busy host window, so on the
// path where no handler acts it only tests flags: no allocation, no text.
#include "core/subclassing.h"

#include <optional>
#include <string_view>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/wrapper.h"

namespace tillwick {
namespace {

using S = SharedState;

bool ActsOn(const DispatchRow& row, UINT msg) noexcept { return row.actsOn->Has(msg); }

bool RowApplies(const DispatchRow& row, const SharedState& s) noexcept {
    if (row.always) return true;
    for (bool S::*flag : row.anyOf)
        if (flag != nullptr && s.*flag) return true;
    return false;
}

bool RowsWanted(HookedWindow which, const SharedState& s) noexcept {
    for (const DispatchRow* dispatch : RowsOf(which))
        for (bool S::*flag : dispatch->anyOf)
            if (flag != nullptr && s.*flag) return true;
    return false;
}

// Hands the message to each row's handler in order. A result that replaces
// the message or lParam is seen by the later rows and by the host; a message
// number of 0 reaches the host as WM_NULL. A failing handler changes nothing.
void Dispatch(const char* procName, HookedWindow which, HWND& hwnd, UINT& msg, WPARAM& wParam,
              LPARAM& lParam) noexcept {
    const SharedState& s = State();
    for (const DispatchRow* rowPointer : RowsOf(which)) {
        const DispatchRow& row = *rowPointer;
        if (!ActsOn(row, msg) || !RowApplies(row, s)) continue;
        // The key is read again for every row: a handler may take its time.
        if (row.bypassable && IsGlobalModifierDown()) continue;
        RunStep(procName, [&] {
            LRESULT slot = 0;
            LRESULT value = row.handler(hwnd, msg, wParam, lParam, slot);
            if (row.use == ResultUse::ReplacesMsg)
                msg = static_cast<UINT>(value);
            else if (row.use == ResultUse::ReplacesLParam)
                lParam = static_cast<LPARAM>(value);
        });
    }
}

// ---- the hooked windows -----------------------------------------------------------------
struct HookRow {
    HookedWindow which;
    HWND S::*wnd;
    WNDPROC proc;
    bool always = false;
    bool S::*alsoWhile = nullptr;  // hooked for the spine's own sake while this is set
};

// The page window is not here: AttachPageView hooks the active tab's page window.
const HookRow kHookTable[] = {
    {HookedWindow::MainFrame, &S::MainFrameWnd, &MainFrameProc, true},
    {HookedWindow::MdiClient, &S::MdiClientWnd, &MdiClientProc},
    {HookedWindow::Rebar, &S::RebarWnd, &RebarProc},
    // TabBarProc keeps the borrowed tab from being drawn while the panels are on.
    {HookedWindow::TabBar, &S::TabBarWnd, &TabBarProc, false, &S::StatusHtmlOn},
    {HookedWindow::StatusBar, &S::StatusBarWnd, &StatusBarProc},
    {HookedWindow::AddressCombo, &S::AddressComboWnd, &AddressComboProc},
    {HookedWindow::HighlightOverlay, &S::HighlightOverlayWnd, &HighlightOverlayProc},
    {HookedWindow::AddressEdit, &S::AddressEditWnd, &AddressEditProc},
    {HookedWindow::SearchEdit, &S::SearchEditWnd, &SearchEditProc},
};

// A window is worth hooking while a flag of one of its rows is set.
bool HookWanted(const HookRow& row, const SharedState& s) {
    return row.always || (row.alsoWhile != nullptr && s.*row.alsoWhile) || RowsWanted(row.which, s);
}

LONG_PTR SavedProc(HookedWindow which) noexcept { return State().Subclassing.slot(which).savedProc; }

// The procedure a page window's messages go on to: the active tab's, or one
// saved from an earlier tab's window that still carries ours.
LONG_PTR SavedPageProc(HWND hwnd) noexcept {
    const SubclassingState& sub = State().Subclassing;
    if (sub.slot(HookedWindow::PageView).wnd == hwnd) return sub.slot(HookedWindow::PageView).savedProc;
    for (const HookSlot& left : sub.leftBehind)
        if (left.wnd == hwnd) return left.savedProc;
    return 0;
}

bool Removed() noexcept { return State().Subclassing.removedForProcess; }

LRESULT CallSaved(LONG_PTR saved, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (saved == 0) return host::DefWindowProcA(hwnd, msg, wParam, lParam);
    return host::CallWindowProcW(reinterpret_cast<WNDPROC>(saved), hwnd, msg, wParam, lParam);
}

// Handlers in the order of the window's table, then the host's own procedure.
LRESULT DispatchAndPass(const char* procName, HookedWindow which, HWND hwnd, UINT msg, WPARAM wParam,
                        LPARAM lParam) noexcept {
    // Taken first: a handler may re-hook the page window, which must not
    // change the procedure this message goes on to.
    const LONG_PTR saved = which == HookedWindow::PageView ? SavedPageProc(hwnd) : SavedProc(which);
    // Once the hooks are removed, or on an earlier tab's page window, a
    // procedure of ours that had to stay only passes messages on.
    const bool passOnly =
        Removed() || (which == HookedWindow::PageView && State().Subclassing.slot(which).wnd != hwnd);
    if (!passOnly) Dispatch(procName, which, hwnd, msg, wParam, lParam);
    return CallSaved(saved, hwnd, msg, wParam, lParam);
}

// The address box and the highlight overlay: the host's procedure first, then
// the rows, each of which may replace the host's result.
LRESULT PassThenDispatch(HookedWindow which, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT result = CallSaved(SavedProc(which), hwnd, msg, wParam, lParam);
    if (Removed()) return result;
    for (const DispatchRow* row : RowsOf(which)) {
        if (!ActsOn(*row, msg) || !RowApplies(*row, State())) continue;
        RunStep("address box", [&] {
            HWND w = hwnd;
            UINT m = msg;
            WPARAM wp = wParam;
            LPARAM lp = lParam;
            LRESULT slot = result;
            result = row->handler(w, m, wp, lp, slot);
        });
    }
    return result;
}

// ---- what the main frame does before its handlers -------------------------------------
bool IsPopupFilterCommand(WPARAM wParam) {
    return wParam == contract::kCmdPopupFilter || wParam == contract::kCmdAllBlockers ||
           wParam == contract::kCmdPopupFilterAccel;
}

void OnFrameCommand(WPARAM wParam) {
    SharedState& s = State();
    if (IsPopupFilterCommand(wParam)) {
        s.PopupFilterEnabled = !s.PopupFilterEnabled;
    } else if (wParam == contract::kCmdTabBarTop || wParam == contract::kCmdTabBarBottom) {
        // Whoever reads the tab bar's side (the tab menu, the bars' hiding) needs it whatever is on.
        s.TabBarOnTop = wParam == contract::kCmdTabBarTop;
    }
}

// The last host process closing its frame takes our scratch files with it.
// When the processes cannot be counted, the files stay: another host may still use them.
void CleanUpOnClose() {
    RunStep("MainFrameProc: clean-up on close", [] {
        std::optional<int> processes = host::CountProcessesNamed(contract::kHostExeName);
        if (!processes || *processes != 1) return;
        for (std::string_view name : {kScratchFile, contract::kStatusImage1, contract::kStatusImage2}) {
            RunStep([&] {
                std::string path = PluginFilePath(name);
                if (host::fs::FileExists(path)) host::fs::DeleteFile(path);
            });
        }
    });
    State().CurrentBrowser = {};
}

}  // namespace

bool HookWantedFor(HookedWindow which) noexcept {
    // The panels keep the page window hooked as well.
    const SharedState& s = State();
    return RowsWanted(which, s) || (which == HookedWindow::PageView && s.StatusHtmlOn);
}

void InstallSubclasses() noexcept {
    SharedState& s = State();
    SubclassingState& sub = s.Subclassing;
    if (!sub.removedForProcess) {
        for (const HookRow& row : kHookTable) {
            HookSlot& slot = sub.slot(row.which);
            HWND wnd = s.*row.wnd;
            if (slot.installed || wnd == nullptr || !HookWanted(row, s)) continue;
            LONG_PTR previous =
                host::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(row.proc));
            // A handle that is not (or no longer) a window stays unhooked and
            // may be hooked by a later call once it is found again.
            if (previous == 0) continue;
            slot = HookSlot{wnd, previous, true};
        }
    }
    RunStep("InstallSubclasses: active tab", [&] {
        s.ActiveChildWnd = ActiveMdiChild();
        if (s.ActiveChildWnd != nullptr) host::EnumChildWindows(s.ActiveChildWnd, &AttachPageView, 0);
    });
}

bool RestoreProcedure(const HookSlot& slot, WNDPROC ours) noexcept {
    if (slot.savedProc == 0 || !host::IsWindow(slot.wnd)) return true;
    if (host::GetWindowLongPtrW(slot.wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ours)) {
        host::SetWindowLongPtrW(slot.wnd, GWLP_WNDPROC, slot.savedProc);
        return true;
    }
    host::PinModule();
    return false;
}

void UnhookAll() noexcept {
    SubclassingState& sub = State().Subclassing;
    if (sub.removedForProcess) return;
    sub.removedForProcess = true;
    for (const HookRow& row : kHookTable) RestoreProcedure(sub.slot(row.which), row.proc);
    RestoreProcedure(sub.slot(HookedWindow::PageView), &PageViewProc);
    for (const HookSlot& left : sub.leftBehind) RestoreProcedure(left, &PageViewProc);
    // Tab tracking would hook the next page window; nothing is hooked from now on.
    host::KillTimer(nullptr, sub.TabTrackTimerId);
    sub.TabTrackTimerId = 0;
}

// ---- the window procedures -----------------------------------------------------------------

LRESULT CALLBACK MainFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    const LONG_PTR saved = SavedProc(HookedWindow::MainFrame);
    if (Removed()) return CallSaved(saved, hwnd, msg, wParam, lParam);
    if (msg == WM_GETTEXT) {
        // The host asks for its caption after every tab change: 100 ms after the last one, look.
        PostponeActiveViewTimer();
    } else if (msg == WM_COMMAND) {
        RunStep("MainFrameProc: command", [&] { OnFrameCommand(wParam); });
    } else if (msg == WM_CLOSE) {
        CleanUpOnClose();
    }
    Dispatch("MainFrameProc", HookedWindow::MainFrame, hwnd, msg, wParam, lParam);
    return CallSaved(saved, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("MdiClientProc", HookedWindow::MdiClient, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK RebarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("RebarProc", HookedWindow::Rebar, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TabBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    // While the panels borrow a tab, the tab bar must not show it: validate
    // without drawing and keep the message from the host.
    if (msg == WM_PAINT && State().DonorTabPending && !Removed()) {
        host::ValidateWindow(hwnd);
        return 0;
    }
    return DispatchAndPass("TabBarProc", HookedWindow::TabBar, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("StatusBarProc", HookedWindow::StatusBar, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PageViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("PageViewProc", HookedWindow::PageView, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK AddressComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return PassThenDispatch(HookedWindow::AddressCombo, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK HighlightOverlayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return PassThenDispatch(HookedWindow::HighlightOverlay, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK AddressEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("AddressEditProc", HookedWindow::AddressEdit, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SearchEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("SearchEditProc", HookedWindow::SearchEdit, hwnd, msg, wParam, lParam);
}

}  // namespace tillwick
