// The host composes its caption from the page's title and sets
// it with WM_SETTEXT; the handler swaps the text pointer on the way, so the
// host's own procedure stores our text instead.
#include "features/hide_title.h"

#include <cstdint>
#include <memory>
#include <string>

#include "base/errors.h"
#include "core/feature.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "host/text.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr std::int32_t kCaptionBytes = 1024;

HideTitleState& Module() noexcept { return HideTitleData(); }

// A page that is not an HTML document has no title: nothing to refresh or match.
std::optional<std::string> DocumentTitle() { return State().ActiveDocument.GetText("title"); }

// Assigning the page's title to itself makes the host compose and set its caption anew.
void RefreshHostCaption() {
    // No page yet (start-up runs before the first tab is tracked) or no title:
    // the host's next caption goes through the handler anyway.
    const std::optional<std::string> title = DocumentTitle();
    if (!title) return;
    if (!State().ActiveDocument.Put("title", *title)) throw StepError("the page's title cannot be set");
}

void SendNewTitle() {
    host::SendMessageA(State().MainFrameWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Module().NewTitle.c_str()));
}

}  // namespace

void StartHideTitle() {
    HideTitleState& m = Module();
    RunStep([&] {
        m.NewTitle = SettingText(Setting::Title);
        m.NewTitleWide = host::AnsiToWide(m.NewTitle);
    });
    RunStep([&] { m.HideKeyTitleMode = SettingText(Setting::HideKeyTitle); });
    // The matcher is in place before the refresh, so that on a restart the
    // refreshed caption is already judged by the new pattern.
    RunStep([&] {
        if (m.HideKeyTitleMode != "0")
            m.Matcher = std::make_shared<const TitleMatcher>(SettingText(Setting::TitleToHide));
        else
            m.Matcher.reset();
    });
    RunStep(RefreshHostCaption);
    if (m.HideKeyTitleMode != "0") {
        // The caption shown now is judged by the page's title.
        RunStep([&] {
            const std::optional<std::string> title = DocumentTitle();
            if (m.Matcher && title && m.Matcher->Matches(*title)) SendNewTitle();
        });
    } else {
        RunStep(SendNewTitle);
    }
    State().HideTitleOn = true;
}

void StopHideTitle() noexcept {
    State().HideTitleOn = false;
    RunStep(RefreshHostCaption);
}

LRESULT HideTitleMessage(HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    if (msg != WM_SETTEXT) return lParam;
    return RunStepOr(lParam, [&]() -> LPARAM {
        const HideTitleState& m = Module();
        if (m.HideKeyTitleMode == "1") {
            if (!m.Matcher) return lParam;
            const std::string caption = PtrToText(reinterpret_cast<const void*>(lParam), kCaptionBytes);
            if (!m.Matcher->Matches(caption)) return lParam;
        }
        // The frame's procedure is a Unicode one: it is handed UTF-16 text,
        // which the module keeps until the next start.
        return reinterpret_cast<LPARAM>(m.NewTitleWide.c_str());
    });
}

HideTitleState& HideTitleData() noexcept {
    static HideTitleState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_SETTEXT};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 70, kBypassable, {&SharedState::HideTitleOn}, &ByValue<&HideTitleMessage>,
        ResultUse::ReplacesLParam, kActsOn),
};
}  // namespace

constinit const Feature kHideTitleFeature{.name = "title hiding",
                                          .setting = Setting::HideTitle,
                                          .start = &Run<&StartHideTitle>,
                                          .stop = &StopHideTitle,
                                          .running = &SharedState::HideTitleOn,
                                          .rows = kRows,
                                          .reset = [] { HideTitleData() = {}; }};

}  // namespace tillwick
