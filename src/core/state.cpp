#include "core/state.h"

namespace tillwick {
namespace {
SharedState g_state;
}

SharedState& State() { return g_state; }
void ResetState() { g_state = SharedState{}; }

}  // namespace tillwick
