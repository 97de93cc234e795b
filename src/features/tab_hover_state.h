// The state of the tab hover (mdlTabHoverAction) and of the tab preview
// (mdlTabPreview), one member of the shared state so that ResetState()
// starts both afresh.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tillwick {

struct TabHoverState {
    std::int16_t HoveredTab = -1;
    std::int16_t LastHoveredTab = -1;
    UINT_PTR HoverTimer = 0;
    std::int32_t HoverTime = 350;  // ms, at least 100
    bool Activate = true;          // TabHoverActivate: activate, else preview

    // The document whose window hosts the preview pop-up; kept while it accepts one.
    host::Object PreviewDocument;
    std::int16_t PreviewTab = -1;
    float PreviewZoom = 50.0F;  // per cent
    bool PreviewScrollPos = false;
    bool PreviewCancelled = false;
    bool PreviewShown = false;
};

}  // namespace tillwick
