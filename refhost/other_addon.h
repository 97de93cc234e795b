// Another add-on in the same browser that subclasses a host window the
// common way: its procedure put in with SetWindowLongPtr, every message
// passed on to the procedure it replaced, and on removal that procedure put
// back as it was, whatever has happened to the window since.
#pragma once

#include "host/host.h"

namespace refhost {

// One hook per window at a time.
class OtherAddOnHook {
public:
    explicit OtherAddOnHook(HWND hwnd);  // hooks now
    ~OtherAddOnHook();                   // removes, if not yet removed
    OtherAddOnHook(const OtherAddOnHook&) = delete;
    OtherAddOnHook& operator=(const OtherAddOnHook&) = delete;

    void Remove();
    int MessagesSeen() const { return seen_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    HWND hwnd_;
    LONG_PTR replaced_ = 0;
    int seen_ = 0;
};

}  // namespace refhost
