// The simplest user32 controls: "Static" (a caption and nothing else) and
// "Button" (push buttons report BN_CLICKED; check boxes keep their check).
#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

struct ButtonState : ControlState {
    int check = BST_UNCHECKED;
};

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    ButtonState* s = EnsureControl<ButtonState>(hwnd);
    Window* w = Find(hwnd);
    if (!s || !w) return 0;
    const DWORD type = w->style & BS_TYPEMASK;
    switch (msg) {
    case BM_GETCHECK:
        return s->check;
    case BM_SETCHECK:
        s->check = static_cast<int>(wParam);
        return 0;
    case BM_CLICK:
    case WM_LBUTTONUP:
        if (w->style & WS_DISABLED) return 0;
        if (type == BS_AUTOCHECKBOX) s->check = s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        if (type == BS_AUTORADIOBUTTON) s->check = BST_CHECKED;
        NotifyCommand(hwnd, static_cast<WORD>(BN_CLICKED));
        return 0;
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, unicode);
    }
}

}  // namespace

LRESULT CALLBACK StaticProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK StaticProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
}

LRESULT CALLBACK ButtonProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ButtonProc(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK ButtonProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ButtonProc(hwnd, msg, wParam, lParam, true);
}

}  // namespace host::sim::detail
