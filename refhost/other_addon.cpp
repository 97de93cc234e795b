#include "refhost/other_addon.h"

#include <algorithm>
#include <vector>

namespace refhost {
namespace {

std::vector<OtherAddOnHook*>& Hooks() {
    static std::vector<OtherAddOnHook*> hooks;
    return hooks;
}

}  // namespace

OtherAddOnHook::OtherAddOnHook(HWND hwnd) : hwnd_(hwnd) {
    Hooks().push_back(this);
    replaced_ = host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
}

OtherAddOnHook::~OtherAddOnHook() { Remove(); }

void OtherAddOnHook::Remove() {
    if (replaced_ != 0 && host::IsWindow(hwnd_)) host::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, replaced_);
    replaced_ = 0;
    std::erase(Hooks(), this);
}

LRESULT CALLBACK OtherAddOnHook::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    const auto& hooks = Hooks();
    const auto it = std::find_if(hooks.begin(), hooks.end(), [hwnd](const OtherAddOnHook* h) { return h->hwnd_ == hwnd; });
    if (it == hooks.end() || (*it)->replaced_ == 0) return host::DefWindowProcA(hwnd, msg, wParam, lParam);
    ++(*it)->seen_;
    return host::CallWindowProcW(reinterpret_cast<WNDPROC>((*it)->replaced_), hwnd, msg, wParam, lParam);
}

}  // namespace refhost
