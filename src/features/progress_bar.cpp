// The progress bar: an 80 x 16 HTML page hosted in an "AtlAxWin" control
// shows the active page's load progress, at the right end of the address box
// (which is shortened meanwhile) or in the status bar left of the HTML panels.
// The windows are made once, then only shown, hidden, moved and re-parented.
// Where the control host cannot be made the bar stays off and says why in the
// diagnostics report.
#include <cmath>
#include <cstdint>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/address_bar.h"
#include "features/address_bar_state.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr UINT kCreateDelayMs = 100;
constexpr UINT kPlaceDelayMs = 50;
constexpr UINT kHideDelayMs = 50;
constexpr int kViewWidth = 80;
constexpr int kViewHeight = 16;
constexpr int kAttachTries = 10;
// The report's lines: language key, English text.
constexpr ProgressFailure kNoViewLine{"131",
                                      "Cannot show the progress bar: the page view (AtlAxWin) could not be created."};
constexpr ProgressFailure kNoPageLine{"132", "Cannot show the progress bar: the page view shows no page."};

ProgressState& Module() noexcept { return AddressBarData().Progress; }

constexpr const char* kPageLines[] = {
    "<html>",
    "<head>",
    "<script>",
    "onerror=function(){return(true)}",
    "function ShowProgress(x){",
    " if(!isNaN(x)){;",
    "   document.getElementById('empty').innerText=x+'%';",
    "   document.getElementById('filled').innerText=x+'%';",
    "   document.getElementById('viewable').style.width=x*80/100;",
    " }",
    "}",
    "</script>",
    "<style>",
    "* {overflow:hidden; cursor:default; font:11px Microsoft Sans Serif; margin:0}",
    "#empty, #filled {height:16; width:80; padding-top:1; padding-left:6; text-align:center}",
    "#empty {background: buttonface url('Icons\\Progress_empty.gif'); color:buttontext}",
    "#filled {background: highlight url('Icons\\Progress_filled.gif'); color:highlighttext}",
    "#viewable {position:absolute; top:0; left:0; width:0; height:16}",
    "</style>",
    "</head>",
    "<body onselectstart=return(false) oncontextmenu=return(false)>",
    "<div id=empty></div>",
    "<div id=viewable><div id=filled></div></div>",
    "</body>",
    "</html>",
};

bool ContainerVisible() { return host::IsWindowVisible(State().ProgressWnd) != FALSE; }

void DeletePageFile() {
    const std::string path = PluginFilePath(contract::kProgressPage);
    if (host::fs::FileExists(path)) host::fs::DeleteFile(path);
}

// The bar cannot be shown in this process: everything it made goes, the report says why.
void GiveUp(const ProgressFailure& why) {
    SharedState& s = State();
    ProgressState& m = Module();
    m.ViewFailed = true;
    s.CustomProgressOn = false;
    s.ProgressInAddressBar = false;
    s.ProgressWnd = nullptr;
    for (HWND* wnd : {&m.View, &m.AddressHost, &m.StatusHost}) {
        if (*wnd != nullptr) host::DestroyWindow(*wnd);
        *wnd = nullptr;
    }
    RunStep(DeletePageFile);
    m.FailureLine = &why;
    AppendProgressDiagnostics();
}

void CALLBACK AttachProgressPage(HWND, UINT, UINT_PTR, DWORD) noexcept;

BOOL CALLBACK TakeProgressDocument(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kPageViewClass)) return TRUE;
    RunStep([&] { Module().Document = GetHtmlDocument(wnd); });
    return FALSE;
}

void CALLBACK CreateProgressWindows(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    ProgressState& m = Module();
    features::EndTimer(m.CreateTimer, id);
    RunStep("CreateProgressWindows", [&] {
        SharedState& s = State();
        if (!host::AtlAxWinInit()) return GiveUp(kNoViewLine);
        // A plain static child is all a container needs to be.
        if (m.AddressHost == nullptr)
            m.AddressHost = host::CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 0, 0, s.AddressComboWnd, nullptr,
                                                  nullptr, nullptr);
        if (m.StatusHost == nullptr)
            m.StatusHost = host::CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 0, 0, s.StatusBarWnd, nullptr,
                                                 nullptr, nullptr);
        m.View = host::CreateWindowExA(0, "AtlAxWin", PluginFilePath(contract::kProgressPage).c_str(),
                                       WS_CHILD | WS_VISIBLE, 0, 0, kViewWidth, kViewHeight, m.AddressHost, nullptr,
                                       nullptr, nullptr);
        if (m.View == nullptr || m.AddressHost == nullptr || m.StatusHost == nullptr) return GiveUp(kNoViewLine);
        if (!s.ProgressInAddressBar) host::SetParent(m.View, m.StatusHost);
        s.ProgressWnd = s.ProgressInAddressBar ? m.AddressHost : m.StatusHost;
        m.AttachTries = 0;
        features::RestartTimer(m.CreateTimer, kCreateDelayMs, &AttachProgressPage);
    });
}

void CALLBACK AttachProgressPage(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    ProgressState& m = Module();
    features::EndTimer(m.CreateTimer, id);
    RunStep("AttachProgressPage", UpdateProgressPlacement);
    RunStep("AttachProgressPage", [&] {
        host::EnumChildWindows(m.View, &TakeProgressDocument, 0);
        if (m.Document) return DeletePageFile();
        // The control may still be loading the page: look again a little later.
        if (++m.AttachTries < kAttachTries)
            features::RestartTimer(m.CreateTimer, kCreateDelayMs, &AttachProgressPage);
        else
            GiveUp(kNoPageLine);
    });
}

void CALLBACK HideTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().HideTimer, id);
    RunStep("HideTimerProc", HideProgressBar);
}

void CALLBACK PlaceTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().PlaceTimer, id);
    RunStep("PlaceTimerProc", UpdateProgressPlacement);
}

void CallShowProgress(std::int32_t percent) {
    Module().Document.GetObject("parentWindow").Call("ShowProgress", {percent});
}

bool Placed(const WINDOWPLACEMENT& p) { return p.length != 0; }

}  // namespace

std::string ProgressPageText() {
    std::string text;
    for (const char* line : kPageLines) text += std::string(line) + "\r\n";
    return text;
}

// The diagnostics report is built afresh whenever the options dialog shows
// it: the reason the bar stays off is added each time, not only once.
void AppendProgressDiagnostics() {
    if (const ProgressFailure* why = Module().FailureLine)
        State().DiagnosticsText += LanguageText(why->key, why->english) + "\r\n";
}

void StartProgressBar() {
    SharedState& s = State();
    ProgressState& m = Module();
    s.ProgressInAddressBar = SettingOn(Setting::AddressProgress);
    if (!s.ProgressInAddressBar) {
        RECT part{};
        host::SendMessageA(s.StatusBarWnd, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
        m.StatusTop = Saturated<std::int16_t>(std::floor((static_cast<double>(part.bottom) - 18) / 2.0) + 2);
    }
    if (m.View != nullptr) {
        s.ProgressWnd = s.ProgressInAddressBar ? m.AddressHost : m.StatusHost;
        host::SetParent(m.View, s.ProgressWnd);
        UpdateProgressPlacement();
    } else {
        if (!host::fs::WriteFileAtomic(PluginFilePath(contract::kProgressPage), ProgressPageText()))
            throw StepError("the progress page could not be written");
        features::RestartTimer(m.CreateTimer, kCreateDelayMs, &CreateProgressWindows);
    }
    m.ViewFailed = false;
    m.FailureLine = nullptr;
    s.CustomProgressOn = true;
}

void StopProgressBar() noexcept {
    SharedState& s = State();
    ProgressState& m = Module();
    RunStep(HideProgressBar);  // gives the address box its full width back
    for (UINT_PTR* timer : {&m.CreateTimer, &m.PlaceTimer, &m.HideTimer}) features::EndTimer(*timer);
    host::ShowWindow(s.ProgressWnd, SW_HIDE);
    if (!m.Document) {
        // Stopped before the view had its page: the next start makes the view
        // afresh, and the page file does not outlive the stop.
        if (m.View != nullptr) host::DestroyWindow(m.View);
        m.View = nullptr;
        RunStep(DeletePageFile);
    }
    s.ProgressInAddressBar = false;
    s.CustomProgressOn = false;
}

void PlaceProgressBar() {
    const SharedState& s = State();
    ProgressState& m = Module();
    m.ContainerPlacement.length = sizeof(WINDOWPLACEMENT);
    host::GetWindowPlacement(s.ProgressWnd, &m.ContainerPlacement);
    RECT& box = m.ContainerPlacement.rcNormalPosition;
    if (s.ProgressInAddressBar) {
        WINDOWPLACEMENT edit{};
        edit.length = sizeof(WINDOWPLACEMENT);
        host::GetWindowPlacement(s.AddressEditWnd, &edit);
        RECT r = edit.rcNormalPosition;
        // An edit still shortened by us is measured at its full width.
        if (Placed(m.EditShort) && r.right == m.EditShort.rcNormalPosition.right && Placed(m.EditFull))
            r.right = m.EditFull.rcNormalPosition.right;
        m.EditFull = m.EditShort = edit;
        m.EditFull.rcNormalPosition = {r.left, r.top, r.right, r.top + 13};
        m.EditShort.rcNormalPosition = {r.left, r.top, r.right - 82, r.top + 13};
        box = s.LargeCaptionButtons ? RECT{r.right - 79, r.top - 1, r.right + 1, r.top + 15}
                                    : RECT{r.right - 79, r.top - 2, r.right + 1, r.top + 14};
    } else {
        RECT part{};
        host::SendMessageA(s.StatusBarWnd, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
        const LONG x = part.right - (s.StatusHtmlOn ? s.StatusHtmlTotalWidth : 0);
        box = RECT{x - 81, m.StatusTop, x - 1, m.StatusTop + kViewHeight};
    }
}

void ShowProgressBar() {
    const SharedState& s = State();
    ProgressState& m = Module();
    features::EndTimer(m.HideTimer);
    if (s.ProgressInAddressBar) {
        if (Placed(m.EditShort)) host::SetWindowPlacement(s.AddressEditWnd, &m.EditShort);
    } else {
        PlaceProgressBar();
    }
    if (s.ProgressWnd != nullptr && Placed(m.ContainerPlacement))
        host::SetWindowPlacement(s.ProgressWnd, &m.ContainerPlacement);
}

void HideProgressBar() {
    const SharedState& s = State();
    ProgressState& m = Module();
    features::EndTimer(m.HideTimer);
    if (s.ProgressInAddressBar && Placed(m.EditFull)) host::SetWindowPlacement(s.AddressEditWnd, &m.EditFull);
    host::ShowWindow(s.ProgressWnd, SW_HIDE);
}

void UpdateProgressPlacement() {
    features::EndTimer(Module().PlaceTimer);
    if (State().ProgressWnd == nullptr) return;
    PlaceProgressBar();
    if (ContainerVisible())
        ShowProgressBar();
    else
        HideProgressBar();
}

void ScheduleHideProgress() { features::RestartTimer(Module().HideTimer, kHideDelayMs, &HideTimerProc); }

void ProgressBarChange(std::int32_t progress, std::int32_t progressMax) {
    RunStep([&] {
        if (progressMax <= 0) return;
        const SharedState& s = State();
        const auto p = Saturated<std::int32_t>(
            std::floor(static_cast<double>(progress) * 100.0 / static_cast<double>(progressMax)));
        if (!s.ProgressInAddressBar && (p > 98 || p < 2)) UpdateProgressPlacement();
        if (p < 0) {
            ScheduleHideProgress();
        } else if (p < 100) {
            if (!ContainerVisible()) ShowProgressBar();
            CallShowProgress(p);
        } else {
            CallShowProgress(100);
            ScheduleHideProgress();
        }
    });
}

LRESULT ProgressBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    const SharedState& s = State();
    if (hwnd == s.MdiClientWnd) {
        if (msg == WM_MDIACTIVATE) RunStep(HideProgressBar);
    } else if (hwnd == s.MainFrameWnd) {
        if (msg == WM_SIZE)
            features::RestartTimer(Module().PlaceTimer, kPlaceDelayMs, &PlaceTimerProc);
        else if (msg == WM_COMMAND && wParam == contract::kCmdCloseTab)
            RunStep(HideProgressBar);
    }
    return 0;
}

namespace {

// The bar follows the page once the panels' capture is done or it lives in the address bar.
bool ProgressBarShown() {
    const SharedState& s = State();
    return s.CustomProgressOn && (s.CaptureDone || s.ProgressInAddressBar);
}

void OnNotice(const SpineNotice& notice) {
    if (!ProgressBarShown()) return;
    if (notice.what == Notice::DownloadComplete) ScheduleHideProgress();
    if (notice.what == Notice::Progress) ProgressBarChange(notice.progress, notice.progressMax);
}

constexpr MessageSet kActsOn{WM_MDIACTIVATE, WM_SIZE, WM_COMMAND};
constexpr auto kHandler = &ByValue<&ProgressBarMessage>;
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 110, kAnyKey, {&SharedState::CustomProgressOn}, kHandler, ResultUse::Ignored, kActsOn),
    Row(HookedWindow::MdiClient, 10, kAnyKey, {&SharedState::CustomProgressOn}, kHandler, ResultUse::Ignored, kActsOn),
};

}  // namespace

constinit const Feature kProgressBarFeature{.name = "progress bar",
                                            .setting = Setting::CustomProgress,
                                            .startAt = StartPoint::AddressEdit,
                                            .start = &Run<&StartProgressBar>,
                                            .stop = &StopProgressBar,
                                            .running = &SharedState::CustomProgressOn,
                                            .rows = kRows,
                                            .notice = &OnNotice,
                                            .diagnose = &AppendProgressDiagnostics};

}  // namespace tillwick
