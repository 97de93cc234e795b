// Apply's steps in their order: the settings each step writes from the
// dialog and how it then stops and starts the features concerned.
#pragma once

#include <span>
#include <vector>

#include "settings/settings_catalogue.h"

namespace tillwick {

class OptionsForm;

struct ApplyStep {
    std::vector<Setting> writes;
    void (*then)(const OptionsForm& form);  // null: writing is all
};

std::span<const ApplyStep> ApplyStepTable();

}  // namespace tillwick
