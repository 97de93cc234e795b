// Control panel of the simulated Windows, for tests and the reference host on
// the sim. Plugin code never includes this; it talks to host.h only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/menu_snapshot.h"

namespace host::sim {

// A fresh process: no windows, classes, timers, menus, hot keys, files,
// clipboard, log; clock at 0; default metrics. Call at the start of each test.
void Reset();

// ---- process facts ---------------------------------------------------------
void SetExecutablePath(std::string path);    // what GetModuleFileNameA(nullptr) returns
void SetPluginModulePath(std::string path);  // what PluginModulePath() returns
void SetProcessCount(std::optional<int> count);  // CountProcessesNamed's answer
void SetSystemMetric(int index, int value);

// ---- virtual clock ---------------------------------------------------------
std::uint64_t Now();
// Moves the clock forward, delivering posted messages and firing due timers
// in due-time order (ties in creation order). A timer of 0 ms is due at once:
// it fires when the message being handled has returned and the test pumps.
// At every step posted messages go first, then WM_PAINT to visible windows
// that wait for it, then the next due timer. Periods below 10 ms repeat
// every 10 ms (USER_TIMER_MINIMUM).
void Advance(std::uint32_t ms);
// Delivers posted messages and fires timers that are due now, without moving the clock.
void RunPending();

// ---- input -----------------------------------------------------------------
void SetKeyDown(int vk, bool down);
void SetCursorScreenPos(int x, int y);
void SetClipboardText(std::optional<std::string> text);  // nullopt: clipboard empty
std::optional<std::string> ClipboardText();               // also what an edit's WM_COPY/WM_CUT put there
// The user presses a hot key: WM_HOTKEY(id, MAKELPARAM(modifiers, vk)) is
// posted to the window that registered it. False when none is registered.
bool PressHotKey(UINT modifiers, UINT vk);

// ---- menus and message boxes -------------------------------------------------
using host::MenuItemSnapshot;
struct TrackedMenu {
    HMENU menu = nullptr;
    UINT flags = 0;
    int x = 0, y = 0;
    HWND owner = nullptr;
    std::vector<MenuItemSnapshot> items;  // the menu as it was shown
};
// What the next TrackPopupMenu calls answer (command id, or 0 = dismissed),
// in order; when the queue is empty a menu is dismissed. An id that names no
// enabled command item of the menu (or its submenus) also dismisses it, as a
// user could not have chosen it. While the menu is up, posted keyboard and
// mouse messages go to the menu, not to their windows.
void QueueMenuAnswer(UINT commandId);
const std::vector<TrackedMenu>& TrackedMenus();
std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu);
// Menus created and not destroyed (for leak checks).
int LiveMenuCount();

struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
};
void QueueMessageBoxAnswer(int answer);  // default answer when empty: IDOK
const std::vector<MessageBoxCall>& MessageBoxes();

void QueueColorChoice(std::optional<COLORREF> colour);  // nullopt: cancelled

// ---- message log -------------------------------------------------------------
struct LoggedMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};
// Every message delivered to a window procedure (sent or posted), in order.
// WM_PAINT and WM_TIMER that the message loop generates count as posted;
// procedure-to-procedure calls (CallWindowProcW) are not deliveries.
const std::vector<LoggedMessage>& MessageLog();
void ClearMessageLog();

// Exceptions that application callbacks (window, timer, enumeration procedures,
// property-bag methods) let escape; the sim stops them at the Win32 boundary,
// where the call then answers 0 / FALSE / nothing.
int SwallowedExceptionCount();

// Calls of the platform functions that cost a round trip on Windows (key and
// cursor state, timers, sending and posting, file reads and stamps) since Reset.
std::uint64_t CountedCalls();
// The most bytes one file read has returned since Reset.
std::size_t LargestFileRead();
// The lines written to the debugger output since Reset.
const std::vector<std::string>& DebugOutput();

// ---- timers and hot keys -------------------------------------------------------
int LiveTimerCount();
bool ModulePinned();  // the plugin pinned its module (host::PinModule)
struct HotKey {
    HWND hwnd;
    int id;
    UINT modifiers, vk;
};
std::vector<HotKey> RegisteredHotKeys();

// ---- late-bound objects ----------------------------------------------------------
// A property bag that stands in for a page document, window, location or browser.
class PropertyBag : public Object::Impl {
public:
    using Method = std::function<std::optional<Value>(const std::vector<Value>&)>;
    void Set(std::string name, Value value);
    void SetMethod(std::string name, Method method);
    std::optional<Value> Get(std::string_view name) override;
    bool Put(std::string_view name, const Value& value) override;
    std::optional<Value> Call(std::string_view name, const std::vector<Value>& args) override;
    const void* Identity() const override { return this; }
    // Scripts run through execScript, in order (the sim does not execute them).
    const std::vector<std::string>& Scripts() const { return scripts_; }
    std::vector<std::string> Names() const;  // of the properties, in the order they were made

private:
    std::vector<std::pair<std::string, Value>> props_;    // names compared case-insensitively
    std::vector<std::pair<std::string, Method>> methods_;
    std::vector<std::string> scripts_;
};
std::shared_ptr<PropertyBag> MakeObject();
// The LRESULT a page window answers to WM_HTML_GETOBJECT for this object;
// ObjectFromLresult(result) gives the object back.
LRESULT LresultFromObject(const Object& object);

// ---- files --------------------------------------------------------------------------
// Puts a file in place together with the folders above it (test set-up; the
// host::fs functions themselves never create folders on the way).
void PutFile(std::string path, std::string content);

// ---- windows -------------------------------------------------------------------
// Text the sim stores for a window (also what WM_GETTEXT answers). Controls
// that keep their own text answer theirs: status bar part 0, an edit's text,
// a combo box's edit text or selected item.
std::string WindowText(HWND hwnd);
// Windows created and not destroyed.
int LiveWindowCount();
// How often the window was invalidated. The message loop (Advance/RunPending)
// sends WM_PAINT to visible windows that wait for it; DefWindowProc validates.
int InvalidationCount(HWND hwnd);

// Layout of the built-in controls, so that tests can aim at them:
// - tab control: tab i spans x = i * 96 .. (i + 1) * 96, y = 0 .. 20 of the
//   client area (TCM_SETITEMSIZE changes 96 x 20); WM_LBUTTONDOWN on a tab
//   selects it with TCN_SELCHANGING / TCN_SELCHANGE.
// - status bar: 20 pixels high along the parent's bottom edge (unless
//   CCS_NORESIZE), moved there on WM_SIZE; part i runs from the previous
//   right edge + 2 to its own right edge (-1: the client's), y = 2 .. bottom.
// - toolbar: visible buttons in a row from x = 0, 23 x 22 each (separators 8
//   or their iBitmap, TBIF_SIZE sets a width); WM_LBUTTONUP on an enabled
//   button sends WM_COMMAND(id, BN_CLICKED) to the toolbar's creation parent.
// - rebar: rows of visible bands (RBBS_BREAK starts a row), as high as their
//   highest band (cyMinChild; 4 without a child); the rebar takes the rows'
//   height unless CCS_NORESIZE.

// ---- connection state ----------------------------------------------------------
// True once SetOfflineMode has put the process offline.
bool OfflineModeSet();
void ClearOfflineMode();  // part of Reset()

// ---- the address-bar decorations ------------------------------------------------
struct DcColours {
    std::optional<COLORREF> text, back;  // as SetTextColor / SetBkColor last set them
};
HDC CreateTestDc();
DcColours ColoursOf(HDC dc);
int LiveBrushCount();                               // brushes created and not deleted
std::optional<COLORREF> BrushColour(HBRUSH brush);  // nullopt: not a live brush
// What the address box shows: its edit asks its parent for colours as a
// painting edit control does (WM_CTLCOLOREDIT with a fresh device context).
struct EditPaint {
    DcColours colours;
    std::optional<COLORREF> brush;  // the colour of the brush the parent answered
};
EditPaint PaintEdit(HWND edit);
struct SecurityInfoCall {
    std::string url;
    HWND owner;
};
const std::vector<SecurityInfoCall>& SecurityInfoShown();
// Whether AtlAxWinInit succeeds (true after Reset).
void SetAtlAvailable(bool available);

}  // namespace host::sim
