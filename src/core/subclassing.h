// mdlSubClassing: hooks up to ten host windows, hands each message to the
// handlers of the features that are on in a fixed order (the dispatch tables
// below), then to the host's own procedure; tracks the active tab.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

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
// Makes ActiveViewTimer run 100 ms from now. A caption request comes with
// nearly every message the host handles, so while the timer is armed this only
// moves its deadline; the timer, when it fires early, waits for the rest.
void PostponeActiveViewTimer() noexcept;
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
    // Set by a test whose own handlers stand in and want to see every message;
    // the features' handlers are only handed the messages they act on.
    bool actOnEveryMessage = false;
};
MessageHandlers& Handlers() noexcept;
MessageHandlers DefaultHandlers() noexcept;

// ---- the dispatch tables -------------------------------------------------------------
enum class ResultUse : std::uint8_t { Ignored, ReplacesMsg, ReplacesLParam };

// The messages a handler acts on. Handed any other message, a handler changes
// nothing and gives back the value its row passes on, so the window procedure
// skips it without asking for the key state: a message no handler wants costs
// a few flag tests. All the messages are system ones (below WM_USER).
class MessageSet {
public:
    constexpr MessageSet(std::initializer_list<UINT> messages) {
        for (UINT m : messages) {
            if (m >= kLimit) throw "a message set holds system messages only";  // stops the compiler
            bits_[m / 64] |= std::uint64_t{1} << (m % 64);
        }
    }
    static constexpr MessageSet Every() {
        MessageSet set{};
        set.every_ = true;
        return set;
    }
    constexpr bool Has(UINT msg) const noexcept {
        return every_ || (msg < kLimit && ((bits_[msg / 64] >> (msg % 64)) & 1) != 0);
    }

private:
    static constexpr UINT kLimit = 0x400;
    std::array<std::uint64_t, kLimit / 64> bits_{};
    bool every_ = false;
};

// A row runs when its handler acts on the message and any of its flags is set
// (or always), and, for the rows marked bypassable, only while the global
// modifier key is up.
struct DispatchRow {
    std::array<bool SharedState::*, 3> anyOf;
    bool always;
    bool bypassable;
    HandlerCall MessageHandlers::*handler;
    ResultUse use;
    const MessageSet* actsOn;
};

std::span<const DispatchRow> MainFrameRows() noexcept;
std::span<const DispatchRow> MdiClientRows() noexcept;
std::span<const DispatchRow> RebarRows() noexcept;
std::span<const DispatchRow> TabBarRows() noexcept;
std::span<const DispatchRow> StatusBarRows() noexcept;
std::span<const DispatchRow> PageViewRows() noexcept;
std::span<const DispatchRow> EditRows() noexcept;
// The highlight after the host's procedure, on the address box and its overlay.
const DispatchRow& HighlightAfterHostRow() noexcept;

}  // namespace tillwick
