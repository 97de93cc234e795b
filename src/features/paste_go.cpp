// The address or search box's own menu is suppressed on WM_CONTEXTMENU and ours is
// shown right after the message has returned (a 0 ms timer), so the box has
// settled its focus and selection by then.
#include "features/paste_go.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

using features::EndTimer;
using features::RestartTimer;

constexpr UINT kPasteDelayMs = 100;  // time for the host to open its new tab
constexpr int kTextLimit = 1024;
constexpr std::string_view kBlankPage = "about:blank";

PasteGoState& Module() noexcept { return PasteGoData(); }

// Addresses that run script in the current page instead of loading one. A
// page can put such a text on the clipboard; it is pasted for the user to
// see, never gone to. Blanks and control characters are passed over, before
// and inside the scheme, as the browser passes over them.
bool IsScriptAddress(std::string_view text) {
    static constexpr std::string_view kSchemes[] = {"javascript:", "vbscript:", "data:text/html"};
    constexpr std::size_t kLongest = 14;
    std::string head;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F) continue;
        head += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (head.size() == kLongest) break;
    }
    for (std::string_view scheme : kSchemes)
        if (head.starts_with(scheme)) return true;
    return false;
}

// Whether the box's text, as Enter would submit it, may be gone to. A text
// too long to be an address is not read at all and is not gone to either.
bool MayGo(HWND edit) {
    constexpr LRESULT kLongestChecked = 32 * 1024;
    const LRESULT length = host::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    if (length < 0 || length > kLongestChecked) return false;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = host::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return !IsScriptAddress(text);
}

struct MenuItem {
    PasteGoCommand command;
    std::string_view languageKey;
    std::string_view text;
    bool separatorBefore;
};
constexpr MenuItem kMenuItems[] = {
    {PasteGoCommand::Undo, "029", "Undo", false},
    {PasteGoCommand::Cut, "030", "Cut", true},
    {PasteGoCommand::Copy, "031", "Copy", false},
    {PasteGoCommand::Paste, "032", "Paste", false},
    {PasteGoCommand::Delete, "033", "Delete", false},
    {PasteGoCommand::SelectAll, "034", "Select All", true},
    {PasteGoCommand::PasteAndGo, "035", "Paste and Go", false},
};

// What the box and the clipboard allow, taken before the menu is built.
struct EditFacts {
    bool canUndo = false;
    bool selectionEmpty = true;
    bool clipboardHasText = false;
    bool nothingMoreToSelect = true;  // empty text, or the selection already reaches its end
};

EditFacts ReadFacts(HWND edit) {
    EditFacts f;
    std::array<char, kTextLimit> text{};
    const int length = host::GetWindowTextA(edit, text.data(), kTextLimit);
    DWORD start = 0, end = 0;
    host::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    f.canUndo = host::SendMessageA(edit, EM_CANUNDO, 0, 0) != 0;
    f.selectionEmpty = start == end;
    f.clipboardHasText = host::IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
    f.nothingMoreToSelect = length <= 0 || end == static_cast<DWORD>(length);
    return f;
}

bool Grayed(PasteGoCommand command, const EditFacts& f) {
    switch (command) {
        case PasteGoCommand::Undo: return !f.canUndo;
        case PasteGoCommand::Cut:
        case PasteGoCommand::Copy:
        case PasteGoCommand::Delete: return f.selectionEmpty;
        case PasteGoCommand::Paste:
        case PasteGoCommand::PasteAndGo: return !f.clipboardHasText;
        case PasteGoCommand::SelectAll: return f.nothingMoreToSelect;
    }
    return false;
}

// Owns a popup menu until the end of the scope, whatever happens on the way.
class PopupMenu {
public:
    PopupMenu() : menu_(host::CreatePopupMenu()) {}
    ~PopupMenu() {
        if (menu_ != nullptr) host::DestroyMenu(menu_);
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU get() const { return menu_; }

private:
    HMENU menu_;
};

// Paste and Go: in a new tab when the user wants one, except from a blank
// page, which is as good as a new tab already.
void PasteAndGoCommand() {
    const std::optional<std::string> url = State().ActiveDocument.GetText("URL");
    if (!url) throw StepError("the active page cannot be read");
    const bool inNewTab = *url != kBlankPage && SettingOn(Setting::PasteNew);
    if (inNewTab) {
        SendHostCommand(contract::kCmdNewTab);
        RestartTimer(Module().PasteTimer, kPasteDelayMs, &PasteAndGo);
    } else {
        PasteAndGo(nullptr, 0, 0, 0);
    }
}

void CarryOut(PasteGoCommand command, HWND edit) {
    switch (command) {
        case PasteGoCommand::Undo: host::SendMessageA(edit, WM_UNDO, 0, 0); break;
        case PasteGoCommand::Cut: host::SendMessageA(edit, WM_CUT, 0, 0); break;
        case PasteGoCommand::Copy: host::SendMessageA(edit, WM_COPY, 0, 0); break;
        case PasteGoCommand::Paste: host::SendMessageA(edit, WM_PASTE, 0, 0); break;
        case PasteGoCommand::Delete: host::SendMessageA(edit, WM_CLEAR, 0, 0); break;
        case PasteGoCommand::SelectAll: host::SendMessageA(edit, EM_SETSEL, 0, -1); break;
        case PasteGoCommand::PasteAndGo: PasteAndGoCommand(); break;
    }
}

void ShowMenu() {
    const HWND edit = Module().TargetEdit;
    const EditFacts facts = ReadFacts(edit);
    POINT cursor{};
    host::GetCursorPos(&cursor);

    PopupMenu menu;
    if (menu.get() == nullptr) return;
    for (const MenuItem& item : kMenuItems) {
        if (item.separatorBefore) host::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        const std::string text = LanguageText(item.languageKey, item.text);
        host::AppendMenuA(menu.get(), MF_STRING | (Grayed(item.command, facts) ? MF_GRAYED : 0u),
                          static_cast<UINT_PTR>(item.command), text.c_str());
    }
    const UINT chosen = static_cast<UINT>(
        host::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, edit, nullptr));
    for (const MenuItem& item : kMenuItems)
        if (chosen == static_cast<UINT>(item.command)) CarryOut(item.command, edit);
}

}  // namespace

LRESULT PasteGoMessage(HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_CONTEXTMENU || hwnd == nullptr) return msg;
    const SharedState& s = State();
    if (hwnd != s.AddressEditWnd && hwnd != s.SearchEditWnd) return msg;
    host::SetFocus(hwnd);
    PasteGoState& m = Module();
    RestartTimer(m.MenuTimer, 0, &ShowPasteGoMenu);
    m.TargetEdit = hwnd;
    return 0;  // the box's own menu is not shown
}

void CALLBACK ShowPasteGoMenu(HWND, UINT, UINT_PTR timerId, DWORD) noexcept {
    EndTimer(Module().MenuTimer, timerId);
    RunStep("ShowPasteGoMenu", ShowMenu);
}

void CALLBACK PasteAndGo(HWND, UINT, UINT_PTR timerId, DWORD) noexcept {
    PasteGoState& m = Module();
    EndTimer(m.PasteTimer, timerId);
    const HWND edit = m.TargetEdit;
    host::SetFocus(edit);
    // Run by the timer, it pastes into a tab just opened: the box holds the
    // host's address for the blank page, not a selection of the user's, and
    // a paste at the caret would go in front of it.
    if (timerId != 0) host::SendMessageA(edit, EM_SETSEL, 0, -1);
    host::SendMessageA(edit, WM_PASTE, 0, 0);
    // Posted, so the host reads the box only after the paste has been processed.
    if (RunStepOr("PasteAndGo: what was pasted", false, [edit] { return MayGo(edit); }))
        host::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
}

PasteGoState& PasteGoData() noexcept {
    static PasteGoState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_CONTEXTMENU};
constexpr auto kHandler = &ByValue<&PasteGoMessage>;
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::AddressEdit, 10, kBypassable, {&SharedState::PasteGoOn}, kHandler, ResultUse::ReplacesMsg, kActsOn),
    Row(HookedWindow::SearchEdit, 10, kBypassable, {&SharedState::PasteGoOn}, kHandler, ResultUse::ReplacesMsg, kActsOn),
};
}  // namespace

// Switching it on is setting its dispatch flag.
constinit const Feature kPasteGoFeature{.name = "Paste and Go",
                                        .setting = Setting::PasteGo,
                                        .start = [](StartRun&, std::string_view) { State().PasteGoOn = true; },
                                        .stop = []() noexcept { State().PasteGoOn = false; },
                                        .running = &SharedState::PasteGoOn,
                                        .rows = kRows,
                                        .release = []() noexcept {
                                            features::EndTimer(PasteGoData().MenuTimer);
                                            features::EndTimer(PasteGoData().PasteTimer);
                                        },
                                        .reset = [] { PasteGoData() = {}; }};

}  // namespace tillwick
