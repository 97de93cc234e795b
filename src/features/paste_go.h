// Our own edit menu for the host's address and search boxes, with
// "Paste and Go": paste the clipboard's text and press Enter in one step,
// optionally in a new tab.
//
// PasteGoMessage is declared in core/feature_hooks.h.
#pragma once

#include "host/host.h"

namespace tillwick {

// The menu's commands, in the order they are shown.
enum class PasteGoCommand : UINT { Undo = 1, Cut, Copy, Paste, Delete, SelectAll, PasteAndGo };

// Timer procedures. PasteAndGo also runs directly (timer id 0).
void CALLBACK ShowPasteGoMenu(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;
void CALLBACK PasteAndGo(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;

}  // namespace tillwick
