// mdlSubClassing: hooks up to ten host windows, hands each message to the
// handlers of the features that are on in a fixed order (the dispatch tables
// below), then to the host's own procedure; tracks the active tab.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/state.h"
#include "host/host.h"

namespace tillwick {

void InstallSubclasses() noexcept;
// Restores every saved procedure; the installed flags stay set, so nothing is
// hooked again in this process.
void UnhookAll() noexcept;

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
void CALLBACK PanelCommandTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
BOOL CALLBACK AttachPageView(HWND wnd, LPARAM) noexcept;
// (Re)starts the tab-tracking timer with ActiveViewTimer, 100 ms from now.
void RestartActiveViewTimer() noexcept;
void RestartPanelCommandTimer() noexcept;

// ---- the handler table ----------------------------------------------------------------
// How a window procedure calls a feature handler: every argument by reference,
// so that the handler that may change them (HideTabBarMessage) sits in the same
// tables; the others are reached through a thunk that passes copies.
using HandlerCall = LRESULT (*)(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result);

// One slot per feature handler, filled with the features' functions. The
// window procedures call through it, so a test can watch the calls.
struct MessageHandlers {
    HandlerCall TabExitMessage;
    HandlerCall ToggleFilterMessage;
    HandlerCall HideStatusBarMessage;
    HandlerCall StatusBarInfoMessage;
    HandlerCall HideTabBarMessage;
    HandlerCall HideLastTabMessage;
    HandlerCall AlwaysOnTopMessage;
    HandlerCall HideTitleMessage;
    HandlerCall ShowInMenuMessage;
    HandlerCall SortSearchMessage;
    HandlerCall GroupUrlMessage;
    HandlerCall ProgressBarMessage;
    HandlerCall HighlightComboMessage;
    HandlerCall TabMenuMessage;
    HandlerCall PageMenuMessage;
    HandlerCall TabHoverMessage;
    HandlerCall ZoneIconMessage;
    HandlerCall StatusHtmlBarMessage;
    HandlerCall PasteGoMessage;
};
MessageHandlers& Handlers() noexcept;
MessageHandlers DefaultHandlers() noexcept;

// ---- the dispatch tables -------------------------------------------------------------
enum class ResultUse : std::uint8_t { Ignored, ReplacesMsg, ReplacesLParam };

// A row runs when any of its flags is set (or always), and, for the rows
// marked bypassable, only while the global modifier key is up.
struct DispatchRow {
    std::array<bool SharedState::*, 3> anyOf;
    bool always;
    bool bypassable;
    HandlerCall MessageHandlers::*handler;
    ResultUse use;
};

std::span<const DispatchRow> MainFrameRows() noexcept;
std::span<const DispatchRow> MdiClientRows() noexcept;
std::span<const DispatchRow> RebarRows() noexcept;
std::span<const DispatchRow> TabBarRows() noexcept;
std::span<const DispatchRow> StatusBarRows() noexcept;
std::span<const DispatchRow> PageViewRows() noexcept;
std::span<const DispatchRow> EditRows() noexcept;

}  // namespace tillwick
