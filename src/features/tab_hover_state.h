// The state of the tab hover (tab_hover.cpp) and of the tab preview
// (tab_preview.cpp), one member of the shared state so that ResetState()
// starts both afresh.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tillwick {

struct TabHoverState {
    std::int16_t HoveredTab = -1;
    std::int16_t LastHoveredTab = -1;
    UINT_PTR HoverTimer = 0;
    std::int32_t HoverTime = 350;  // ms, at least 100
    bool Activate = true;          // TabHoverActivate: activate, else preview

    // The preview's own pop-up window, its page view and the view's document:
    // made at the first preview, hidden between previews, destroyed on stop.
    HWND PreviewWnd = nullptr;
    HWND PreviewView = nullptr;
    host::Object PreviewDocument;
    UINT_PTR AttachTimer = 0;  // waits for the view's document
    int AttachTries = 0;
    std::string PreviewHtml;   // the page to write once the document is there
    RECT PreviewPlace{};
    POINT PreviewScroll{};
    std::int16_t PreviewTab = -1;
    float PreviewZoom = 50.0F;  // per cent
    bool PreviewScrollPos = false;
    bool PreviewCancelled = false;
    bool PreviewShown = false;
};

// The one instance, owned by the feature's unit.
TabHoverState& TabHoverData() noexcept;

}  // namespace tillwick
