// Our own edit menu for the host's address and search boxes, with
// "Paste and Go": paste the clipboard's text and press Enter in one step,
// optionally in a new tab.
#pragma once

#include "host/host.h"

namespace tillwick {

// paste_go.cpp.
struct PasteGoState {
    HWND TargetEdit = nullptr;
    UINT_PTR MenuTimer = 0;
    UINT_PTR PasteTimer = 0;
};
PasteGoState& PasteGoData() noexcept;

// The menu's commands, in the order they are shown.
enum class PasteGoCommand : UINT { Undo = 1, Cut, Copy, Paste, Delete, SelectAll, PasteAndGo };

// Timer procedures. PasteAndGo also runs directly (timer id 0).
void CALLBACK ShowPasteGoMenu(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;
void CALLBACK PasteAndGo(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;

// The feature's entry points: its start and stop, and its message handlers.
LRESULT PasteGoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kPasteGoFeature;

}  // namespace tillwick
