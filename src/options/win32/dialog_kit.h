// Machinery for the plugin's own Win32 dialogs (the options dialog, the panel
// editor): an in-memory dialog template in the system's message font, common
// controls version 6 through the DLL's own manifest, and text measured in a
// dialog's font so that layouts hold at any DPI.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace tillwick::ui {

// The module (DLL or executable) this code is linked into.
HMODULE OwnModule() noexcept;

// Common controls 6 and its visual styles for the controls created while the
// scope lives, from the manifest resource (id 2) of OwnModule(). Without such
// a resource the scope does nothing and the controls keep the classic look.
class VisualStyleScope {
public:
    VisualStyleScope() noexcept;
    ~VisualStyleScope();
    VisualStyleScope(const VisualStyleScope&) = delete;
    VisualStyleScope& operator=(const VisualStyleScope&) = delete;
    bool Active() const noexcept { return cookie_ != 0; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// An extended dialog template (DLGTEMPLATEEX) built in memory, in the
// system's message font with DS_SHELLFONT. Units are dialog units.
class DialogTemplate {
public:
    DialogTemplate(std::wstring_view title, DWORD style, short cx, short cy);
    void AddControl(DWORD id, std::wstring_view windowClass, std::wstring_view text, DWORD style, DWORD exStyle = 0,
                    short x = 0, short y = 0, short cx = 1, short cy = 1);
    const DLGTEMPLATE* Data() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Put(WORD w) { words_.push_back(w); }
    void PutDword(DWORD d) {
        Put(LOWORD(d));
        Put(HIWORD(d));
    }
    void PutText(std::wstring_view text);
    void AlignDword() {
        if (words_.size() % 2 != 0) Put(0);
    }
    std::vector<WORD> words_;
    std::size_t countAt_ = 0;
};

// Runs the template as a modal dialog owned by `owner`, inside a VisualStyleScope.
INT_PTR RunModalDialog(const DialogTemplate& dialog, HWND owner, DLGPROC proc, LPARAM param) noexcept;

// The dialog procedure of a modal dialog run by an object of class Owner,
// passed as the dialog's creation parameter: Owner::Opened(hwnd) on
// WM_INITDIALOG (it sets the focus), Owner::Handle(msg, wParam, lParam) for
// every later message. No exception may leave a dialog procedure, so each
// call is a guarded step.
template <class Owner>
INT_PTR CALLBACK OwnedDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        RunStep("OpenDialog", [&] { reinterpret_cast<Owner*>(lParam)->Opened(hwnd); });
        return FALSE;
    }
    auto* self = reinterpret_cast<Owner*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;
    return RunStepOr<INT_PTR>("DialogMessage", FALSE, [&] { return self->Handle(msg, wParam, lParam); });
}

// One dialog of a kind at a time: while `open` names a live dialog, asking
// again brings that one to the front; otherwise `run` runs it, and `open`
// is cleared when it ends (the owner sets it in Opened).
template <class Run>
void RunOneAtATime(HWND& open, Run&& run) {
    if (open != nullptr && ::IsWindow(open)) {
        ::SetForegroundWindow(open);
        return;
    }
    struct Clear {
        HWND& open;
        ~Clear() { open = nullptr; }
    } clear{open};
    run();
}

// Measures text in a window's font (a dialog's, or a control's).
class TextMeasure {
public:
    explicit TextMeasure(HWND window) noexcept;
    ~TextMeasure();
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;
    int Width(std::wstring_view text) const noexcept;
    int Height() const noexcept;

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Dialog units to pixels in a dialog's font.
int DluX(HWND dialog, int x) noexcept;
int DluY(HWND dialog, int y) noexcept;

// Where a check box's or option button's caption starts, from its left edge:
// the ideal size the control reports minus the caption's width.
int CaptionOffset(HWND button, std::wstring_view caption) noexcept;

// ANSI text (the plugin's) as UTF-16 for the wide window functions, and back.
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);
std::wstring WindowTextOf(HWND window);

}  // namespace tillwick::ui
