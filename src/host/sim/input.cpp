// Keyboard state, hot keys, the cursor and the clipboard.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host {

using namespace sim::detail;

namespace {

constexpr UINT kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
constexpr std::uint8_t kDown = 0x80, kToggled = 0x01;

}  // namespace

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    if (hwnd && !Find(hwnd)) return FALSE;  // ERROR_INVALID_WINDOW_HANDLE
    auto& keys = S().hotKeys;
    sim::HotKey* same = nullptr;
    for (auto& k : keys) {
        if (k.vk == vk && (k.modifiers & kModifierMask) == (modifiers & kModifierMask)) return FALSE;  // taken
        if (k.hwnd == hwnd && k.id == id) same = &k;
    }
    if (same) {
        // The same window and id registered again: the new key replaces the old one.
        same->modifiers = modifiers;
        same->vk = vk;
        return TRUE;
    }
    keys.push_back({hwnd, id, modifiers, vk});
    return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
    if (hwnd && !Find(hwnd)) return FALSE;
    auto& keys = S().hotKeys;
    auto it = std::find_if(keys.begin(), keys.end(), [&](const sim::HotKey& k) { return k.hwnd == hwnd && k.id == id; });
    if (it == keys.end()) return FALSE;  // ERROR_HOTKEY_NOT_REGISTERED
    keys.erase(it);
    return TRUE;
}

SHORT GetKeyState(int vk) {
    CountCall();
    const std::uint8_t state = S().keys[static_cast<std::size_t>(vk & 0xFF)];
    unsigned value = (state & kDown) ? 0xFF80u : 0u;
    if (state & kToggled) value |= 1u;
    return static_cast<SHORT>(value);
}

BOOL GetCursorPos(POINT* point) {
    CountCall();
    if (!point) return FALSE;
    *point = S().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    // The cursor stays on the screen.
    S().cursor = {std::clamp(x, 0, GetSystemMetrics(SM_CXSCREEN) - 1), std::clamp(y, 0, GetSystemMetrics(SM_CYSCREEN) - 1)};
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    if (!S().clipboard) return FALSE;
    return (format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT) ? TRUE : FALSE;
}

}  // namespace host

namespace host::sim {

using namespace detail;

void SetKeyDown(int vk, bool down) {
    std::uint8_t& state = S().keys[static_cast<std::size_t>(vk & 0xFF)];
    if (down && !(state & kDown)) state ^= kToggled;  // each press flips the toggle bit
    state = static_cast<std::uint8_t>(down ? (state | kDown) : (state & ~kDown));
}

void SetCursorScreenPos(int x, int y) { S().cursor = {x, y}; }

void SetClipboardText(std::optional<std::string> text) { S().clipboard = std::move(text); }

std::optional<std::string> ClipboardText() { return S().clipboard; }

std::vector<HotKey> RegisteredHotKeys() { return S().hotKeys; }

bool PressHotKey(UINT modifiers, UINT vk) {
    for (const HotKey& k : S().hotKeys) {
        if (k.vk == vk && (k.modifiers & kModifierMask) == (modifiers & kModifierMask)) {
            if (k.hwnd) {
                PostInternal(k.hwnd, WM_HOTKEY, static_cast<WPARAM>(k.id),
                             MAKELPARAM(static_cast<WORD>(modifiers & kModifierMask), static_cast<WORD>(vk)), true);
            }
            return true;
        }
    }
    return false;
}

}  // namespace host::sim
