// The table of hooked windows, InstallSubclasses / UnhookAll,
// the window procedures and their dispatch tables.
//
// A window procedure runs for every message of a busy host window, so on the
// path where no handler acts it only tests flags: no allocation, no text.
#include "core/subclassing.h"

#include <optional>
#include <string_view>

#include "base/errors.h"
#include "core/feature_hooks.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/wrapper.h"

namespace tillwick {
namespace {

using S = SharedState;
constexpr bool M = true;    // skipped while the global modifier key is held
constexpr bool Any = false;

// ---- handler thunks --------------------------------------------------------------------
template <LRESULT (*Handler)(HWND, UINT, WPARAM, LPARAM, LRESULT&)>
LRESULT ByValue(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    return Handler(hwnd, msg, wParam, lParam, result);
}

MessageHandlers g_handlers = DefaultHandlers();

// ---- dispatch tables -------------------------------------------------------------------
// What each handler acts on, beside the rows that call it. A handler that
// starts to act on another message adds it here (a test sweeps every other
// message through each handler).
constexpr MessageSet kTabExitActsOn{WM_COMMAND};
constexpr MessageSet kToggleFilterActsOn{WM_COMMAND};
constexpr MessageSet kHideStatusBarActsOn{WM_MOUSEMOVE,          WM_CAPTURECHANGED, WM_MOUSEWHEEL,
                                          WM_WINDOWPOSCHANGING, WM_NCMOUSELEAVE,   WM_SETTEXT};
constexpr MessageSet kStatusBarInfoActsOn{WM_LBUTTONDOWN, WM_SETTEXT, WM_COMMAND};
constexpr MessageSet kHideTabBarActsOn{WM_WINDOWPOSCHANGED, WM_COMMAND,       WM_NCMOUSELEAVE,   WM_SETCURSOR,
                                       WM_MDICREATE,        WM_MDIDESTROY,    WM_MOUSEMOVE,      WM_MOUSEWHEEL,
                                       WM_LBUTTONDOWN,      WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,    WM_RBUTTONDBLCLK,
                                       contract::kWmSizeParent};
constexpr MessageSet kHideLastTabActsOn{WM_MDICREATE, WM_MDIDESTROY};
constexpr MessageSet kAlwaysOnTopActsOn{WM_HOTKEY, WM_CLOSE, WM_COMMAND};
constexpr MessageSet kHideTitleActsOn{WM_SETTEXT};
constexpr MessageSet kShowInMenuActsOn{WM_INITMENUPOPUP, WM_COMMAND};
constexpr MessageSet kSortSearchActsOn{WM_INITMENU};
constexpr MessageSet kGroupUrlActsOn{WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_COMMAND};
constexpr MessageSet kProgressBarActsOn{WM_MDIACTIVATE, WM_SIZE, WM_COMMAND};
constexpr MessageSet kHighlightComboActsOn{WM_SETTEXT,        WM_CTLCOLOREDIT, WM_CTLCOLORDLG,
                                           WM_CTLCOLORSTATIC, WM_LBUTTONUP,    WM_SIZE};
constexpr MessageSet kMenuLoopActsOn{WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP,
                                     WM_CAPTURECHANGED};
constexpr MessageSet kTabHoverActsOn{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSELEAVE};
constexpr MessageSet kZoneIconActsOn{WM_LBUTTONDOWN};
constexpr MessageSet kStatusHtmlBarActsOn{contract::kWmSizeParent, WM_PAINT};
constexpr MessageSet kPasteGoActsOn{WM_CONTEXTMENU};

constexpr DispatchRow Row(bool bypassable, std::array<bool S::*, 3> anyOf, HandlerCall MessageHandlers::*handler,
                          ResultUse use, const MessageSet& actsOn) {
    return DispatchRow{anyOf, false, bypassable, handler, use, &actsOn};
}
constexpr DispatchRow AlwaysRow(HandlerCall MessageHandlers::*handler, ResultUse use, const MessageSet& actsOn) {
    return DispatchRow{{}, true, false, handler, use, &actsOn};
}
using H = MessageHandlers;
using U = ResultUse;

constexpr DispatchRow kMainFrameRows[] = {
    Row(M, {&S::LastTabExitOn}, &H::TabExitMessage, U::Ignored, kTabExitActsOn),
    Row(Any, {&S::ToggleFilterOn}, &H::ToggleFilterMessage, U::Ignored, kToggleFilterActsOn),
    Row(M, {&S::HideStatusBarOn}, &H::HideStatusBarMessage, U::Ignored, kHideStatusBarActsOn),
    Row(Any, {&S::StatusBarInfoOn}, &H::StatusBarInfoMessage, U::Ignored, kStatusBarInfoActsOn),
    Row(Any, {&S::HideTabBarOn}, &H::HideTabBarMessage, U::ReplacesMsg, kHideTabBarActsOn),
    Row(Any, {&S::OnTopDispatch}, &H::AlwaysOnTopMessage, U::ReplacesMsg, kAlwaysOnTopActsOn),
    Row(M, {&S::HideTitleOn}, &H::HideTitleMessage, U::ReplacesLParam, kHideTitleActsOn),
    Row(Any, {&S::ShowInMenuOn}, &H::ShowInMenuMessage, U::Ignored, kShowInMenuActsOn),
    Row(Any, {&S::SortSearchOn}, &H::SortSearchMessage, U::Ignored, kSortSearchActsOn),
    Row(Any, {&S::ShowGroupUrlOn, &S::OpenGroupConfirmOn}, &H::GroupUrlMessage, U::ReplacesMsg, kGroupUrlActsOn),
    Row(Any, {&S::CustomProgressOn}, &H::ProgressBarMessage, U::Ignored, kProgressBarActsOn),
    Row(Any, {&S::HighlightComboOn}, &H::HighlightComboMessage, U::Ignored, kHighlightComboActsOn),
    Row(M, {&S::TabMenuOn, &S::TabPluginMenuOn, &S::TabOtherMenuOn}, &H::TabMenuMessage, U::Ignored,
        kMenuLoopActsOn),
    Row(M, {&S::ExtensionMenuOn, &S::PluginMenuOn, &S::OtherMenuOn}, &H::PageMenuMessage, U::Ignored,
        kMenuLoopActsOn),
};

constexpr DispatchRow kMdiClientRows[] = {
    Row(Any, {&S::CustomProgressOn}, &H::ProgressBarMessage, U::Ignored, kProgressBarActsOn),
    Row(Any, {&S::HideLastTabOn}, &H::HideLastTabMessage, U::Ignored, kHideLastTabActsOn),
    Row(M, {&S::HideTabBarOn}, &H::HideTabBarMessage, U::ReplacesMsg, kHideTabBarActsOn),
};

constexpr DispatchRow kRebarRows[] = {
    Row(M, {&S::HideTabBarOn}, &H::HideTabBarMessage, U::ReplacesMsg, kHideTabBarActsOn),
};

constexpr DispatchRow kTabBarRows[] = {
    Row(Any, {&S::TabHoverOn}, &H::TabHoverMessage, U::Ignored, kTabHoverActsOn),
    Row(M, {&S::HideTabBarOn}, &H::HideTabBarMessage, U::ReplacesMsg, kHideTabBarActsOn),
};

constexpr DispatchRow kStatusBarRows[] = {
    Row(M, {&S::HideStatusBarOn}, &H::HideStatusBarMessage, U::Ignored, kHideStatusBarActsOn),
    Row(M, {&S::HideTabBarOn}, &H::HideTabBarMessage, U::ReplacesMsg, kHideTabBarActsOn),
    Row(Any, {&S::ZoneIconOn}, &H::ZoneIconMessage, U::ReplacesMsg, kZoneIconActsOn),
    Row(Any, {&S::StatusHtmlOn, &S::StatusStripClips}, &H::StatusHtmlBarMessage, U::Ignored, kStatusHtmlBarActsOn),
    AlwaysRow(&H::StatusBarInfoMessage, U::ReplacesMsg, kStatusBarInfoActsOn),
};

constexpr DispatchRow kPageViewRows[] = {
    Row(M, {&S::HideStatusBarOn}, &H::HideStatusBarMessage, U::Ignored, kHideStatusBarActsOn),
    Row(M, {&S::HideTabBarOn}, &H::HideTabBarMessage, U::ReplacesMsg, kHideTabBarActsOn),
};

// The address and search boxes.
constexpr DispatchRow kEditRows[] = {
    Row(M, {&S::PasteGoOn}, &H::PasteGoMessage, U::ReplacesMsg, kPasteGoActsOn),
};

// After the host's procedure of the address box and its overlay; the handler's
// result replaces the host's.
constexpr DispatchRow kHighlightAfterHostRow =
    Row(Any, {&S::HighlightComboOn}, &H::HighlightComboMessage, U::Ignored, kHighlightComboActsOn);

bool ActsOn(const DispatchRow& row, UINT msg) noexcept {
    return g_handlers.actOnEveryMessage || row.actsOn->Has(msg);
}

bool RowApplies(const DispatchRow& row, const SharedState& s) noexcept {
    if (row.always) return true;
    for (bool S::*flag : row.anyOf)
        if (flag != nullptr && s.*flag) return true;
    return false;
}

// Hands the message to each row's handler in order. A result that replaces
// the message or lParam is seen by the later rows and by the host; a message
// number of 0 reaches the host as WM_NULL. A failing handler changes nothing.
void Dispatch(const char* procName, std::span<const DispatchRow> rows, HWND& hwnd, UINT& msg, WPARAM& wParam,
              LPARAM& lParam) noexcept {
    const SharedState& s = State();
    for (const DispatchRow& row : rows) {
        if (!ActsOn(row, msg) || !RowApplies(row, s)) continue;
        // The key is read again for every row: a handler may take its time.
        if (row.bypassable && IsGlobalModifierDown()) continue;
        HandlerCall handler = g_handlers.*row.handler;
        RunStep(procName, [&] {
            LRESULT slot = 0;
            LRESULT value = handler(hwnd, msg, wParam, lParam, slot);
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
    bool always;
    std::array<bool S::*, 5> anyOf;
};

// The page window is not here: AttachPageView hooks the active tab's page window.
const HookRow kHookTable[] = {
    {HookedWindow::MainFrame, &S::MainFrameWnd, &MainFrameProc, true, {}},
    {HookedWindow::MdiClient, &S::MdiClientWnd, &MdiClientProc, false,
     {&S::CustomProgressOn, &S::HideLastTabOn, &S::HideTabBarOn}},
    {HookedWindow::Rebar, &S::RebarWnd, &RebarProc, false, {&S::HideTabBarOn}},
    {HookedWindow::TabBar, &S::TabBarWnd, &TabBarProc, false, {&S::TabHoverOn, &S::StatusHtmlOn, &S::HideTabBarOn}},
    {HookedWindow::StatusBar, &S::StatusBarWnd, &StatusBarProc, false,
     {&S::HideTabBarOn, &S::HideStatusBarOn, &S::ZoneIconOn, &S::StatusBarInfoOn, &S::StatusHtmlOn}},
    {HookedWindow::AddressCombo, &S::AddressComboWnd, &AddressComboProc, false, {&S::HighlightComboOn}},
    {HookedWindow::HighlightOverlay, &S::HighlightOverlayWnd, &HighlightOverlayProc, false, {&S::HighlightComboOn}},
    {HookedWindow::AddressEdit, &S::AddressEditWnd, &AddressEditProc, false, {&S::PasteGoOn}},
    {HookedWindow::SearchEdit, &S::SearchEditWnd, &SearchEditProc, false, {&S::PasteGoOn}},
};

bool HookWanted(const HookRow& row, const SharedState& s) {
    if (row.always) return true;
    for (bool S::*flag : row.anyOf)
        if (flag != nullptr && s.*flag) return true;
    return false;
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
LRESULT DispatchAndPass(const char* procName, HookedWindow which, std::span<const DispatchRow> rows, HWND hwnd,
                        UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    // Taken first: a handler may re-hook the page window, which must not
    // change the procedure this message goes on to.
    const LONG_PTR saved = which == HookedWindow::PageView ? SavedPageProc(hwnd) : SavedProc(which);
    // Once the hooks are removed, or on an earlier tab's page window, a
    // procedure of ours that had to stay only passes messages on.
    const bool passOnly =
        Removed() || (which == HookedWindow::PageView && State().Subclassing.slot(which).wnd != hwnd);
    if (!passOnly) Dispatch(procName, rows, hwnd, msg, wParam, lParam);
    return CallSaved(saved, hwnd, msg, wParam, lParam);
}

// The address box and the highlight overlay: the host's procedure first, then
// the highlight, which may replace the host's result.
LRESULT PassThenHighlight(HookedWindow which, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT result = CallSaved(SavedProc(which), hwnd, msg, wParam, lParam);
    if (!Removed() && ActsOn(kHighlightAfterHostRow, msg) && RowApplies(kHighlightAfterHostRow, State())) {
        RunStep("address box highlight", [&] {
            LRESULT slot = result;
            LRESULT value = g_handlers.HighlightComboMessage(hwnd, msg, wParam, lParam, slot);
            result = value;
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
    } else if (wParam == contract::kCmdStop && s.CombineButtonsOn) {
        std::int32_t loaded = 1;
        SetCombinedState(loaded);
    }
    if (s.StatusHtmlOn) {
        s.Subclassing.LastCommandId = static_cast<std::int32_t>(wParam);
        RestartPanelCommandTimer();
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

MessageHandlers DefaultHandlers() noexcept {
    MessageHandlers h{};
    h.TabExitMessage = &ByValue<&tillwick::TabExitMessage>;
    h.ToggleFilterMessage = &ByValue<&tillwick::ToggleFilterMessage>;
    h.HideStatusBarMessage = &ByValue<&tillwick::HideStatusBarMessage>;
    h.StatusBarInfoMessage = &ByValue<&tillwick::StatusBarInfoMessage>;
    h.HideTabBarMessage = &tillwick::HideTabBarMessage;
    h.HideLastTabMessage = &ByValue<&tillwick::HideLastTabMessage>;
    h.AlwaysOnTopMessage = &ByValue<&tillwick::AlwaysOnTopMessage>;
    h.HideTitleMessage = &ByValue<&tillwick::HideTitleMessage>;
    h.ShowInMenuMessage = &ByValue<&tillwick::ShowInMenuMessage>;
    h.SortSearchMessage = &ByValue<&tillwick::SortSearchMessage>;
    h.GroupUrlMessage = &ByValue<&tillwick::GroupUrlMessage>;
    h.ProgressBarMessage = &ByValue<&tillwick::ProgressBarMessage>;
    h.HighlightComboMessage = &ByValue<&tillwick::HighlightComboMessage>;
    h.TabMenuMessage = &ByValue<&tillwick::TabMenuMessage>;
    h.PageMenuMessage = &ByValue<&tillwick::PageMenuMessage>;
    h.TabHoverMessage = &ByValue<&tillwick::TabHoverMessage>;
    h.ZoneIconMessage = &ByValue<&tillwick::ZoneIconMessage>;
    h.StatusHtmlBarMessage = &ByValue<&tillwick::StatusHtmlBarMessage>;
    h.PasteGoMessage = &ByValue<&tillwick::PasteGoMessage>;
    return h;
}

MessageHandlers& Handlers() noexcept { return g_handlers; }

std::span<const DispatchRow> MainFrameRows() noexcept { return kMainFrameRows; }
std::span<const DispatchRow> MdiClientRows() noexcept { return kMdiClientRows; }
std::span<const DispatchRow> RebarRows() noexcept { return kRebarRows; }
std::span<const DispatchRow> TabBarRows() noexcept { return kTabBarRows; }
std::span<const DispatchRow> StatusBarRows() noexcept { return kStatusBarRows; }
std::span<const DispatchRow> PageViewRows() noexcept { return kPageViewRows; }
std::span<const DispatchRow> EditRows() noexcept { return kEditRows; }
const DispatchRow& HighlightAfterHostRow() noexcept { return kHighlightAfterHostRow; }

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
    Dispatch("MainFrameProc", kMainFrameRows, hwnd, msg, wParam, lParam);
    return CallSaved(saved, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("MdiClientProc", HookedWindow::MdiClient, kMdiClientRows, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK RebarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("RebarProc", HookedWindow::Rebar, kRebarRows, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TabBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    // While the panels borrow a tab, the tab bar must not show it: validate
    // without drawing and keep the message from the host.
    if (msg == WM_PAINT && State().DonorTabPending && !Removed()) {
        host::ValidateWindow(hwnd);
        return 0;
    }
    return DispatchAndPass("TabBarProc", HookedWindow::TabBar, kTabBarRows, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("StatusBarProc", HookedWindow::StatusBar, kStatusBarRows, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PageViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("PageViewProc", HookedWindow::PageView, kPageViewRows, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK AddressComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return PassThenHighlight(HookedWindow::AddressCombo, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK HighlightOverlayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return PassThenHighlight(HookedWindow::HighlightOverlay, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK AddressEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("AddressEditProc", HookedWindow::AddressEdit, kEditRows, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SearchEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DispatchAndPass("SearchEditProc", HookedWindow::SearchEdit, kEditRows, hwnd, msg, wParam, lParam);
}

}  // namespace tillwick
