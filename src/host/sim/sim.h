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
void Advance(std::uint32_t ms);
// Delivers posted messages and fires timers that are due now, without moving the clock.
void RunPending();

// ---- input -----------------------------------------------------------------
void SetKeyDown(int vk, bool down);
void SetCursorScreenPos(int x, int y);
void SetClipboardText(std::optional<std::string> text);  // nullopt: clipboard empty

// ---- menus and message boxes -------------------------------------------------
struct MenuItemSnapshot {
    UINT id = 0;
    UINT type = 0;   // MFT_* bits
    UINT state = 0;  // MFS_* bits
    std::string text;
    std::vector<MenuItemSnapshot> submenu;  // filled when the item has a submenu
    HMENU submenuHandle = nullptr;
};
struct TrackedMenu {
    HMENU menu = nullptr;
    UINT flags = 0;
    int x = 0, y = 0;
    HWND owner = nullptr;
    std::vector<MenuItemSnapshot> items;  // the menu as it was shown
};
// What the next TrackPopupMenu calls answer (command id, or 0 = dismissed),
// in order; when the queue is empty a menu is dismissed.
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
const std::vector<LoggedMessage>& MessageLog();
void ClearMessageLog();

// ---- timers and hot keys -------------------------------------------------------
int LiveTimerCount();
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

private:
    std::vector<std::pair<std::string, Value>> props_;    // names compared case-insensitively
    std::vector<std::pair<std::string, Method>> methods_;
    std::vector<std::string> scripts_;
};
std::shared_ptr<PropertyBag> MakeObject();
// The LRESULT a page window answers to WM_HTML_GETOBJECT for this object;
// ObjectFromLresult(result) gives the object back.
LRESULT LresultFromObject(const Object& object);

// ---- windows -------------------------------------------------------------------
// Text the sim stores for a window (also what WM_GETTEXT answers).
std::string WindowText(HWND hwnd);
// Windows created and not destroyed.
int LiveWindowCount();

}  // namespace host::sim
