// The state of the address-bar decorations: the secure-page highlight
// (highlight_combo.cpp), the progress bar (progress_bar.cpp) and the combined
// Refresh/Stop button (combine_buttons.cpp). One member of the shared state.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/host.h"

namespace tillwick {

struct HighlightState {
    COLORREF Back = 12776703;
    COLORREF Text = 0;
    HBRUSH Brush = nullptr;
    HWND Icon = nullptr;        // the static control in the overlay
    HANDLE IconImage = nullptr; // lives as long as the overlay
    WINDOWPLACEMENT Placement{};
    bool SecurePageShown = false;
    UINT_PTR RefreshTimer = 0;
    UINT_PTR ResizeTimer = 0;
};

// Why the progress bar stays off: a line of the diagnostics report, in the user's language.
struct ProgressFailure {
    std::string_view key, english;
};

struct ProgressState {
    HWND AddressHost = nullptr;  // child of the address combo box
    HWND StatusHost = nullptr;   // child of the status bar
    HWND View = nullptr;         // the control host showing the progress page
    host::Object Document;       // the progress page
    std::int16_t StatusTop = 0;
    WINDOWPLACEMENT EditFull{};
    WINDOWPLACEMENT EditShort{};
    WINDOWPLACEMENT ContainerPlacement{};
    UINT_PTR CreateTimer = 0;
    UINT_PTR PlaceTimer = 0;
    UINT_PTR HideTimer = 0;
    std::int16_t AttachTries = 0;  // looks for the loaded page so far
    bool ViewFailed = false;  // the control host could not be created: the bar stays off
    const ProgressFailure* FailureLine = nullptr;  // why, for every diagnostics report of the process
};

struct CombineState {
    std::int32_t StopIndex = -1;
    std::int32_t RefreshIndex = -1;
    std::int16_t StopWidth = 0;  // given up by the band while Stop and Refresh share a place
};

struct AddressBarState {
    HighlightState Highlight;
    ProgressState Progress;
    CombineState Combine;
};

// The one instance, owned by the feature's unit.
AddressBarState& AddressBarData() noexcept;

}  // namespace tillwick
