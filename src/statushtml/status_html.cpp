#include "statushtml/status_html.h"
#include "statushtml/status_html_state.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

namespace c = contract;

constexpr UINT kDocumentPollMs = 200;
constexpr UINT kChainStepMs = 100;
constexpr UINT kWidthCheckMs = 100;
constexpr UINT kRedrawDelayMs = 500;
constexpr std::int32_t kMinHeight = 20;
constexpr LONG kHiddenTop = 40;  // below the visible status bar
constexpr std::string_view kEmptyHostPage = "<html><body></body></html>\r\n";

StatusHtmlState& Module() noexcept { return StatusHtmlData(); }

host::Object StripWindow() { return Module().StripDocument.GetObject("parentWindow"); }

void RunIn(const host::Object& window, const std::string& code) {
    if (!window.ExecScript(code, "JScript")) throw StepError("script");
}
void RunInStrip(const std::string& code) { RunIn(StripWindow(), code); }

// Runs `code` in the strip with a text handed over through the window
// property `name`, never spliced into the script text itself; the property
// is emptied again at once, so the page text (with the security id) does not
// stay in the strip's window for its frames to read.
void RunInStripWith(std::string_view name, std::string text, const std::vector<std::string>& code) {
    const host::Object window = StripWindow();
    RunIn(window, "var " + std::string(name));
    if (!window.Put(name, std::move(text))) throw StepError("script property");
    struct Emptied {
        const host::Object& window;
        std::string_view name;
        ~Emptied() { window.Put(name, host::Value{}); }
    } emptied{window, name};
    for (const std::string& line : code) RunIn(window, line);
}

void WriteFrame(std::int32_t k) {
    const std::string frame = "frames[" + std::to_string(k) + "].document.";
    RunInStrip(frame + "write('')");
    RunInStrip(frame + "close()");
}

RECT PartZeroRect() {
    RECT r{};
    host::SendMessageA(State().StatusBarWnd, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

void PlaceBy(const RECT& part) {
    StatusHtmlState& m = Module();
    const std::int32_t total = State().StatusHtmlTotalWidth;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    host::GetWindowPlacement(m.Strip, &wp);
    // The bar's edge is the host's; the other terms are held to 16 bits.
    wp.rcNormalPosition.left = Saturated<LONG>(static_cast<double>(part.right) - total - 1 - m.Shift);
    wp.rcNormalPosition.top = m.Top;
    wp.rcNormalPosition.right = Saturated<LONG>(static_cast<double>(part.right) - 1 - m.Shift);
    wp.rcNormalPosition.bottom = m.Top + m.Height;
    host::SetWindowPlacement(m.Strip, &wp);
}

bool StripExists() { return Module().Strip != nullptr && host::IsWindow(Module().Strip); }

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    host::GetClassNameA(hwnd, name, 255);
    return name;
}

// What the search through one tab frame found; kept only when the frame is the donor's.
struct HelperFound {
    host::Object document;
    HWND view = nullptr;
};

BOOL CALLBACK FindHelperView(HWND hwnd, LPARAM lParam) noexcept {
    RunStep([&] {
        auto& found = *reinterpret_cast<HelperFound*>(lParam);
        const std::string cls = ClassOf(hwnd);
        if (cls == c::kPageViewClass) found.document = GetHtmlDocument(hwnd);
        else if (cls == c::kTabChildClassPrefix) found.view = hwnd;
    });
    return TRUE;  // on past other classes until both are seen
}

BOOL CALLBACK FindHelperFrame(HWND hwnd, LPARAM) noexcept {
    return RunStepOr(TRUE, [&]() -> BOOL {
        const std::string cls = ClassOf(hwnd);
        if (cls.size() <= c::kTabChildClassPrefix.size() || cls.rfind(c::kTabChildClassPrefix, 0) != 0) return TRUE;
        HelperFound found;
        host::EnumChildWindows(hwnd, &FindHelperView, reinterpret_cast<LPARAM>(&found));
        // Known by the name no page can guess: a page that names itself
        // "Tillwick" is never taken for the donor.
        StatusHtmlState& m = Module();
        const auto name = found.document.GetObject("parentWindow").GetText("name");
        if (!name || m.DonorName.empty() || *name != m.DonorName) return TRUE;
        // Only the donor's own view and document are taken: another tab's stay where they are.
        m.StripDocument = found.document;
        if (found.view != nullptr) m.DonorView = found.view;
        return FALSE;
    });
}

void Navigate(const std::string& url, std::int32_t flags) {
    const auto done = State().CurrentBrowser.Call("Navigate2", {url, flags, Module().DonorName});
    if (!done) throw StepError("Navigate2");
}

void TogglePopupFilter() {
    host::SendMessageA(State().MainFrameWnd, WM_COMMAND, c::kCmdPopupFilter, 0);
}

void SetPanelUse(std::int32_t index, bool on) { WritePanelSetting(PanelField::Use, index, on ? "1" : "0"); }

void WritePanel(std::int32_t i, const StatusHtmlPanel& p, const std::string& securityId) {
    const std::int32_t k = i + 1;
    const std::string folder = PluginFolder();
    const std::string frame = "frames[" + std::to_string(k) + "]";
    if (!p.use) {
        WriteFrame(k);
    } else if (host::fs::FileExists(p.path)) {
        const std::optional<std::string> html = host::fs::ReadFile(p.path, kMaxPanelPageBytes + 1);
        if (!html) throw StepError("panel page");
        if (html->size() > kMaxPanelPageBytes) return WriteFrame(k);
        RunInStripWith("sHtml",
                       PreparePanelPage(*html, p.path, p.offset, securityId, PluginFilePath(c::kStatusImage1)),
                       {frame + ".document.write(sHtml)", frame + ".document.close()"});
    } else if (p.path.rfind("http", 0) != 0) {
        WriteFrame(k);
    } else {
        RunInStripWith("sPath", p.path, {frame + ".src=sPath"});
    }
}

void ReloadFrame(std::int32_t k) {
    const auto frame = StripWindow().GetObject("frames").Call("item", {k});
    const host::Object* window = frame ? std::get_if<host::Object>(&*frame) : nullptr;
    if (!window || !window->GetObject("location").Call("reload")) throw StepError("frame reload");
}

}  // namespace

std::vector<StatusHtmlPanel> ReadPanels(std::int32_t count) {
    std::vector<StatusHtmlPanel> panels;
    for (std::int32_t i = 0; i < count; ++i) {
        StatusHtmlPanel p;
        p.use = IsOn(PanelSetting(PanelField::Use, i));
        p.path = PanelSetting(PanelField::Path, i);
        p.width = PanelSetting(PanelField::Width, i);
        p.name = PanelSetting(PanelField::Name, i);
        p.offset = PanelSetting(PanelField::Offset, i);
        panels.push_back(std::move(p));
    }
    return panels;
}

bool IsScriptable(const host::Object& document) {
    // The probe declares nothing: it may run in a web page.
    return RunStepOr(false, [&] { return document.GetObject("parentWindow").ExecScript("void 0"); });
}

void StartStatusHtml() {
    SharedState& s = State();
    StatusHtmlState& m = Module();
    // Hand-edited values that are not numbers take the defaults.
    m.Count = static_cast<std::int16_t>(PanelRecordCount());
    m.Shift = static_cast<std::int16_t>(std::clamp<std::int32_t>(
        TrySettingNumber(Setting::StatusHtmlShift).value_or(1), INT16_MIN, INT16_MAX));
    // The strip's geometry is 16-bit: a height past that is held there.
    m.Height = std::clamp<std::int32_t>(TrySettingNumber(Setting::StatusHtmlHeight).value_or(kMinHeight), kMinHeight,
                                        INT16_MAX);
    const RECT part = PartZeroRect();
    m.Top = Saturated<std::int16_t>(std::floor((static_cast<double>(part.bottom) - m.Height - 2) / 2.0) + 2);

    if (StripExists() && m.StripDocument) {
        RunStep(BuildStatusHtmlPage);
        RunStep(PlaceStatusHtmlStrip);
        s.StatusHtmlOn = true;
        return;
    }
    // A strip whose start-up chain was stopped before it adopted a view starts that chain again.
    if (!StripExists())
        m.Strip = host::CreateWindowExA(0, "#32770", "", WS_CHILD, 0, 0, 0, 0, s.StatusBarWnd,
                                        reinterpret_cast<HMENU>(1), nullptr, nullptr);
    if (m.Strip == nullptr) throw StepError("panel strip");
    RunStep([&] {
        if (s.StatusStripClips) return;
        host::SetWindowLongPtrW(s.StatusBarWnd, GWL_STYLE,
                                host::GetWindowLongA(s.StatusBarWnd, GWL_STYLE) | WS_CLIPCHILDREN);
        s.StatusStripClips = true;
    });
    RunStep([] {
        const std::string page = PluginFilePath(c::kPanelHostPage);
        if (!host::fs::FileExists(page)) host::fs::WriteFileAtomic(page, kEmptyHostPage);
    });
    if (m.DonorName.empty()) m.DonorName = NewDonorName();
    m.CloseTabsScript = CloseTabsScript(s.SecurityId, m.DonorName);
    features::RestartTimer(m.ChainTimer, kDocumentPollMs, &WaitForDocumentTimer);
    s.StatusHtmlOn = true;
}

void StopStatusHtml() noexcept {
    StatusHtmlState& m = Module();
    // A start-up chain cut short leaves nothing running and the tab bar painting.
    features::EndTimer(m.ChainTimer);
    features::EndTimer(m.WidthTimer);
    features::EndTimer(m.RedrawTimer);
    State().DonorTabPending = false;
    RunStep(HideStatusHtmlStrip);
    State().StatusHtmlOn = false;
}

void ReleaseStatusHtmlStrip() noexcept {
    StatusHtmlState& m = Module();
    StopStatusHtml();
    RunStep([&] {
        if (StripExists()) host::DestroyWindow(m.Strip);
    });
    m.Strip = nullptr;
    m.DonorView = nullptr;
    m.StripDocument = host::Object();
}

void CALLBACK WaitForDocumentTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    SharedState& s = State();
    StatusHtmlState& m = Module();
    const host::Object document = s.ActiveDocument;
    const bool ready = IsScriptable(document) &&
                       RunStepOr(false, [&] { return document.GetText("readyState") == "complete"; });
    if (!ready) return;  // fires again
    features::EndTimer(m.ChainTimer, id);
    RunStep([&] {
        if (!s.PopupFilterEnabled) return;
        TogglePopupFilter();
        m.FilterToggled = true;
    });
    s.DonorTabPending = true;
    RunStep([] { Navigate("about:blank", 1); });
    RunStep([&] {
        if (!m.FilterToggled) return;
        m.FilterToggled = false;
        TogglePopupFilter();
    });
    features::RestartTimer(m.ChainTimer, kChainStepMs, &AdoptHelperTabTimer);
}

void CALLBACK AdoptHelperTabTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    SharedState& s = State();
    StatusHtmlState& m = Module();
    features::EndTimer(m.ChainTimer, id);
    s.DonorTabPending = false;
    RunStep([&] { host::EnumChildWindows(s.MdiClientWnd, &FindHelperFrame, 0); });
    s.HideTabBarOn = false;
    RunStep([&] {
        if (m.DonorView != nullptr && StripExists()) host::SetParent(m.DonorView, m.Strip);
    });
    // The donor tab closes itself: the script holds the security id, so it
    // runs in the donor's own document, never in the active web page.
    RunStep([&] {
        if (m.StripDocument && IsScriptable(m.StripDocument)) RunInStrip(m.CloseTabsScript);
    });
    RunStep([] { Navigate(PluginFilePath(c::kPanelHostPage), 0); });
    RunStep([&] {
        if (SettingOn(Setting::HideTabBar) && !s.HideLastTabOn) s.HideTabBarOn = true;
    });
    RunStep([&] {
        const std::int32_t n = SettingOn(Setting::ActivateFirstTab)
                                   ? 1
                                   : static_cast<std::int32_t>(host::SendMessageA(s.TabBarWnd, TCM_GETITEMCOUNT, 0, 0));
        host::SendMessageA(s.MainFrameWnd, WM_COMMAND, static_cast<WPARAM>(c::kCmdSelectTabFromCount + n), 0);
    });
    features::RestartTimer(m.ChainTimer, kChainStepMs, &WaitForCaptureTimer);
}

void CALLBACK WaitForCaptureTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    if (!State().CaptureDone) return;  // fires again
    features::EndTimer(Module().ChainTimer, id);
    RunStep(BuildStatusHtmlPage);
}

void BuildStatusHtmlPage() {
    SharedState& s = State();
    StatusHtmlState& m = Module();
    RunStep([&] { RunInStrip(m.CloseTabsScript); });
    const std::int32_t separator =
        ClampSeparatorWidth(TrySettingNumber(Setting::StatusHtmlSepWidth).value_or(8));
    const std::vector<StatusHtmlPanel> panels = ReadPanels(m.Count);
    std::vector<bool> shown;
    for (const StatusHtmlPanel& p : panels)
        shown.push_back(p.use && (host::fs::FileExists(p.path) || p.path.rfind("http", 0) == 0));
    FramesetPage page = BuildFramesetPage(panels, shown, separator);
    s.StatusHtmlTotalWidth = page.totalWidth;
    RunStep([&] { RunInStripWith("sHtml", std::move(page.html), {"document.write(sHtml)", "document.close()"}); });
    RunStep([&] {
        RunInStripWith("sHtml", SeparatorPage(PluginFilePath(c::kStatusImage2)),
                       {"frames[0].document.write(sHtml)", "frames[0].document.close()"});
    });
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        RunStep([&] { WritePanel(index, panels[i], s.SecurityId); });
        RunStep([&] { ReloadFrame(index + 1); });
    }
    RunStep([&] {
        m.LastPart = PartZeroRect();
        PlaceBy(m.LastPart);
        host::ShowWindow(m.Strip, SW_SHOW);
    });
    RunStep([] { StripWindow().Put("name", std::string()); });
    RunStep([] {
        const std::string file = PluginFilePath(c::kPanelHostPage);
        if (host::fs::FileExists(file)) host::fs::DeleteFile(file);
    });
}

void PlaceStatusHtmlStrip() { PlaceBy(PartZeroRect()); }

void HideStatusHtmlStrip() {
    StatusHtmlState& m = Module();
    if (!StripExists()) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    host::GetWindowPlacement(m.Strip, &wp);
    wp.rcNormalPosition.top = kHiddenTop;
    wp.rcNormalPosition.bottom = kHiddenTop + m.Height;
    host::SetWindowPlacement(m.Strip, &wp);
    // Before the strip has adopted its page there is nothing to clear.
    if (m.StripDocument) RunStep([] { RunInStrip("document.write('')"); });
}

void ScheduleStripCheck() { features::RestartTimer(Module().WidthTimer, kWidthCheckMs, &CheckStripTimer); }

void CALLBACK CheckStripTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    StatusHtmlState& m = Module();
    features::EndTimer(m.WidthTimer, id);
    RunStep([&] {
        const RECT part = PartZeroRect();
        if (part.right == m.LastPart.right) return;
        PlaceBy(part);
        if (part.right < m.LastPart.right)
            features::RestartTimer(m.RedrawTimer, kRedrawDelayMs, &RedrawStripTimer);
        m.LastPart = part;
    });
}

void CALLBACK RedrawStripTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().RedrawTimer, id);
    RunStep([] { host::RedrawWindow(Module().Strip, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN); });
}

void StatusHtmlProgress(std::int32_t progress, std::int32_t progressMax) {
    if (progressMax > 0) {
        const double percent = std::floor(static_cast<double>(progress) * 100.0 / progressMax);
        if (percent >= 2 && percent <= 98) return;
    }
    ScheduleStripCheck();
}

void NotifyStatusHtmlPages(std::int32_t& n) {
    if (!Module().StripDocument) return;  // no page adopted yet: no panel to tell
    for (std::int32_t i = 0; i < Module().Count; ++i) {
        RunStep([&] {
            if (!IsOn(PanelSetting(PanelField::Use, i))) return;
            const std::string frame = "frames[" + std::to_string(i + 1) + "].";
            // The command id is handed over as a number, so a panel can tell commands apart.
            const std::string call = n == 0 ? "Page_Change()" : "Command_CallBack(" + std::to_string(n) + ")";
            RunInStrip("try{" + frame + call + "} catch(e){}");
        });
    }
}

void StatusHtmlMenuCommand(std::int32_t& n) {
    const std::int32_t count = PanelRecordCount();
    if (n == count + 10) {
        OpenPanelEditor();
        return;
    }
    RunStep(HideStatusHtmlStrip);
    if (count <= 0) return;
    if (n == 0 || n == 1) {
        for (std::int32_t i = 0; i < count; ++i) SetPanelUse(i, n == 1);
    } else if (n - 10 >= 0 && n - 10 < count) {
        const std::int32_t i = n - 10;
        SetPanelUse(i, PanelSetting(PanelField::Use, i) == "0");
    }
    StartStatusHtml();
    PlaceStatusHtmlStrip();
}

LRESULT StatusHtmlBarMessage(HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    SharedState& s = State();
    if (hwnd != s.StatusBarWnd) return 0;
    if (msg == contract::kWmSizeParent && s.StatusHtmlOn) {
        features::RestartTimer(Module().WidthTimer, 0, &CheckStripTimer);
    } else if (msg == WM_PAINT && s.StatusStripClips) {
        RECT r{};
        host::GetClientRect(s.StatusToolbarWnd, &r);
        if (r.bottom > 0) host::RedrawWindow(s.StatusToolbarWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
    return 0;
}

StatusHtmlState& StatusHtmlData() noexcept {
    static StatusHtmlState data;
    return data;
}

namespace {

void CALLBACK PanelCommandTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().CommandTimer, id);
    RunStep("PanelCommandTimer: panels", [] { NotifyStatusHtmlPages(Module().LastCommandId); });
}

// The panels hear of each command the main frame sees, once it is handled.
LRESULT CommandMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_COMMAND) return 0;
    Module().LastCommandId = static_cast<std::int32_t>(wParam);
    features::RestartTimer(Module().CommandTimer, 0, &PanelCommandTimer);
    return 0;
}

void OnNotice(const SpineNotice& notice) {
    if (!State().StatusHtmlOn) return;
    switch (notice.what) {
    case Notice::SecurityIdKnown:
        StartStatusHtml();
        break;
    case Notice::TabSwitched:
        // 0 tells the panels the page changed.
        ScheduleStripCheck();
        Module().LastCommandId = 0;
        features::RestartTimer(Module().CommandTimer, 0, &PanelCommandTimer);
        break;
    case Notice::Progress:
        StatusHtmlProgress(notice.progress, notice.progressMax);
        break;
    default:
        break;
    }
}

// The panels need the host's security id; without it only the setting is written.
void RestartStatusHtml() {
    if (State().SecurityId.empty()) return;
    if (State().StatusHtmlOn) StopStatusHtml();
    if (SettingOn(Setting::StatusHtml)) StartStatusHtml();
}

constexpr MessageSet kCommandActsOn{WM_COMMAND};
constexpr MessageSet kBarActsOn{contract::kWmSizeParent, WM_PAINT};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 0, kAnyKey, {&SharedState::StatusHtmlOn}, &ByValue<&CommandMessage>,
        ResultUse::Ignored, kCommandActsOn),
    Row(HookedWindow::StatusBar, 40, kAnyKey, {&SharedState::StatusHtmlOn, &SharedState::StatusStripClips},
        &ByValue<&StatusHtmlBarMessage>, ResultUse::Ignored, kBarActsOn),
};

}  // namespace

// Switching it on at start-up is setting its flag: the panels start when the security id arrives.
constinit const Feature kStatusHtmlFeature{.name = "status-bar panels",
                                           .setting = Setting::StatusHtml,
                                           .start = [](StartRun&, std::string_view) { State().StatusHtmlOn = true; },
                                           .stop = &StopStatusHtml,
                                           .running = &SharedState::StatusHtmlOn,
                                           .apply = ApplyRestart::Own,
                                           .restart = &RestartStatusHtml,
                                           .rows = kRows,
                                           .notice = &OnNotice,
                                           // The strip outlives a stop (it is only hidden) but not the plugin.
                                           .release = []() noexcept {
                                               features::EndTimer(StatusHtmlData().CommandTimer);
                                               ReleaseStatusHtmlStrip();
                                           },
                                           .reset = [] { StatusHtmlData() = {}; }};

}  // namespace tillwick
