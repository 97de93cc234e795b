// mdlHideTitle. The host composes its caption from the page's title and sets
// it with WM_SETTEXT; the handler swaps the text pointer on the way, so the
// host's own procedure stores our text instead.
#include "features/hide_title.h"

#include <cstdint>
#include <memory>
#include <string>

#include "core/errors.h"
#include "core/feature_hooks.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "host/text.h"
#include "options/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr std::int32_t kCaptionBytes = 1024;

HideTitleState& Module() noexcept { return State().HideTitle; }

std::string DocumentTitle() {
    std::optional<std::string> title = State().ActiveDocument.GetText("title");
    if (!title) throw StepError("the active page has no title");
    return *title;
}

// Assigning the page's title to itself makes the host compose and set its caption anew.
void RefreshHostCaption() {
    const std::string title = DocumentTitle();
    if (!State().ActiveDocument.Put("title", title)) throw StepError("the page's title cannot be set");
}

void SendNewTitle() {
    host::SendMessageA(State().MainFrameWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Module().NewTitle.c_str()));
}

}  // namespace

TitleMatcher::TitleMatcher(std::string_view pattern) {
    try {
        regex_.emplace(pattern.begin(), pattern.end(), std::regex::ECMAScript | std::regex::icase);
    } catch (const std::regex_error&) {
        regex_.reset();
    }
}

bool TitleMatcher::Matches(std::string_view text) const {
    if (!regex_) throw StepError("TitleToHide is not a valid pattern");
    try {
        return std::regex_search(text.begin(), text.end(), *regex_);
    } catch (const std::regex_error&) {
        throw StepError("TitleToHide could not be tested");
    }
}

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
            if (m.Matcher && m.Matcher->Matches(DocumentTitle())) SendNewTitle();
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

}  // namespace tillwick
