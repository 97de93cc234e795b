// Offline mode in the sim: a recorded flag that tests can query.
#include "host/host.h"
#include "host/sim/sim.h"

namespace host {
namespace {
bool g_offline = false;
}

bool SetOfflineMode() {
    g_offline = true;
    return true;
}

namespace sim {
bool OfflineModeSet() { return g_offline; }
void ClearOfflineMode() { g_offline = false; }
}  // namespace sim

}  // namespace host
