// Hooks up to ten host windows, hands each message to the rows the feature
// table gives that window (core/feature.h), then to the host's own
// procedure; tracks the active tab.
#pragma once

#include "core/state.h"
#include "host/host.h"

namespace tillwick {

void InstallSubclasses() noexcept;
// Restores every saved procedure that can be restored; the installed flags
// stay set, so nothing is hooked again in this process, and the procedures
// left in place only pass messages on from then on.
void UnhookAll() noexcept;
// Puts the slot's saved procedure back on its window, but only when the
// window exists and its procedure is still `ours`: another add-on that hooked
// the window after us would lose its chain otherwise. When ours has to stay,
// the module is pinned, so that the procedure never points into freed code.
// True when nothing of ours is left on the window.
bool RestoreProcedure(const HookSlot& slot, WNDPROC ours) noexcept;
// Whether a feature that is on has rows for the window (the page window too).
bool HookWantedFor(HookedWindow which) noexcept;

// ---- the window procedures ------------------------------------------------------
LRESULT CALLBACK MainFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK RebarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK TabBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK PageViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK AddressComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK HighlightOverlayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK AddressEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK SearchEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// ---- active-tab tracking (tab_tracking.cpp) ---------------------------------------
void CALLBACK ActiveViewTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
void CALLBACK FindPageViewTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
BOOL CALLBACK AttachPageView(HWND wnd, LPARAM) noexcept;
// Makes ActiveViewTimer run 100 ms from now. A caption request comes with
// nearly every message the host handles, so while the timer is armed this only
// moves its deadline; the timer, when it fires early, waits for the rest.
void PostponeActiveViewTimer() noexcept;

}  // namespace tillwick
