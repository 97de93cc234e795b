// The process state of the sim and the handle counters. Handles and timer ids
// keep counting across Reset(), so a handle kept from an earlier test never
// names a window, menu or timer of a later one.
#include "host/sim/sim_internal.h"
#include "host/sim/statusinfo.h"

namespace host::sim {

namespace detail {

State& S() {
    static State state;
    return state;
}

namespace {

// Windows and menus share one handle space, as user32's handle table.
std::uintptr_t NextUserHandle() {
    static std::uintptr_t next = 0x10010;
    next += 4;
    return next;
}

}  // namespace

HWND NewWindowHandle() { return reinterpret_cast<HWND>(NextUserHandle()); }

HMENU NewMenuHandle() { return reinterpret_cast<HMENU>(NextUserHandle()); }

UINT_PTR NewTimerId() {
    static UINT_PTR next = 0x7F00;
    return ++next;
}

}  // namespace detail

void Reset() {
    using namespace detail;
    S() = State{};
    ResetProcTable();
    CreateRoots();
    ClearOfflineMode();
    ResetAddressBarGdi();
    ResetStatusInfo();
}

std::uint64_t Now() { return detail::S().now; }

const std::vector<LoggedMessage>& MessageLog() { return detail::S().log; }

void ClearMessageLog() { detail::S().log.clear(); }

int SwallowedExceptionCount() { return detail::S().swallowed; }

}  // namespace host::sim
