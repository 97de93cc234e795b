// Apply's writes: every setting the dialog shows, in the order it loads them.
#pragma once

#include <vector>

#include "settings/settings_catalogue.h"

namespace tillwick {

std::vector<Setting> AppliedSettings();

}  // namespace tillwick
