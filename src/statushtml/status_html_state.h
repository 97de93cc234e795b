// The status-bar HTML panels' own state (status_html.cpp): the strip borrowed from a host tab, what it was
// last placed by, and its timers. One instance in the shared state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/host.h"

namespace tillwick {

class PanelEditorForm;

struct StatusHtmlState {
    std::int16_t Count = 0;
    std::int16_t Shift = 1;
    std::int32_t Height = 20;
    std::int16_t Top = 0;
    HWND Strip = nullptr;
    host::Object StripDocument;  // the document of the browser view inside the strip
    HWND DonorView = nullptr;    // the borrowed tab's view window, re-parented into the strip
    std::string CloseTabsScript;
    std::string DonorName;       // the window name of the tab the plugin opened (random, one per process)
    RECT LastPart{};             // status-bar part 0 when the strip was last placed
    UINT_PTR ChainTimer = 0;     // one of the three start-up steps at a time
    UINT_PTR WidthTimer = 0;
    UINT_PTR RedrawTimer = 0;
    // The last command the main frame saw, told to the panels once it is
    // handled (0 after a tab change).
    std::int32_t LastCommandId = 0;
    UINT_PTR CommandTimer = 0;
    bool FilterToggled = false;  // the host's pop-up filter is off for the donor tab's sake
    // The panel editor while it is open where no modal window runs (the sim).
    std::shared_ptr<PanelEditorForm> Editor;
};

// The one instance, owned by the feature's unit.
StatusHtmlState& StatusHtmlData() noexcept;

}  // namespace tillwick
