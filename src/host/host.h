// The platform layer: every Win32 call the plugin and the reference host make
// goes through these free functions. Two backends implement them, chosen at
// link time: src/host/win32 forwards to the real user32/kernel32/ole32, and
// src/host/sim is an in-memory Windows for the native tests.
//
// The functions keep Win32's names (with the A/W suffix the plugin uses) and
// Win32's semantics; where a backend cannot honour a call it fails the way
// Win32 fails (0 / FALSE / null).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/win_types.h"

namespace host {

// ---- windows -------------------------------------------------------------
HWND FindWindowA(const char* className, const char* windowName);
HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
int GetClassNameA(HWND hwnd, char* buffer, int maxCount);
int GetWindowTextA(HWND hwnd, char* buffer, int maxCount);
BOOL SetWindowTextA(HWND hwnd, const char* text);
LONG GetWindowLongA(HWND hwnd, int index);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The default procedure of MDI children (activation through WM_CHILDACTIVATE,
// WM_CLOSE as WM_MDIDESTROY to the client, ...).
LRESULT DefMDIChildProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
ATOM RegisterClassA(const WNDCLASSA* wc);
// The running program's own module, as GetModuleHandleA(nullptr) gives it: a
// program registers its window classes under it and creates its windows with
// it, so that a class of the same name in a loaded library is never the one used.
HINSTANCE ProgramInstance();
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND hwnd);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
BOOL RedrawWindow(HWND hwnd, const RECT* update, void* region, UINT flags);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
BOOL ValidateWindow(HWND hwnd);  // BeginPaint + EndPaint without drawing

// ---- messages --------------------------------------------------------------
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, DWORD_PTR* result);
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
UINT RegisterWindowMessageA(const char* name);

// ---- timers (thread timers: SetTimer(nullptr, 0, ms, proc)) ---------------
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- what this module still has going in the process ---------------------
// Thread timers set through this layer and not killed, hot keys registered
// and not unregistered, and windows created through it that still exist.
// Each would call into the module, so a DLL may be unloaded only when all
// are zero. (On the sim the whole process counts as one module.)
struct Footprint {
    int threadTimers = 0;
    int hotKeys = 0;
    int windows = 0;
    bool Empty() const { return threadTimers == 0 && hotKeys == 0 && windows == 0; }
};
Footprint ModuleFootprint() noexcept;
// Keeps this module loaded for the rest of the process, whatever its users
// free: for a window procedure of ours that has to stay in another add-on's
// chain and so must never point into freed code.
void PinModule() noexcept;

// ---- hot keys and input ---------------------------------------------------
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
BOOL UnregisterHotKey(HWND hwnd, int id);
SHORT GetKeyState(int vk);
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
BOOL ScreenToClient(HWND hwnd, POINT* point);
BOOL ClientToScreen(HWND hwnd, POINT* point);

// ---- system ---------------------------------------------------------------
int GetSystemMetrics(int index);
DWORD GetSysColor(int index);
DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size);
// Full path of the module that holds the plugin (the DLL on Windows).
std::string PluginModulePath();
// Number of running processes with this executable name, or nullopt when the
// platform cannot tell.
std::optional<int> CountProcessesNamed(std::string_view exeName);

// ---- menus ----------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, const char* text);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const char* text);
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuStringA(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);  // returns previous state or -1
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect);
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// ---- clipboard ------------------------------------------------------------
BOOL IsClipboardFormatAvailable(UINT format);

// ---- files (paths are Windows paths, "\" separated, case-insensitive) -----
namespace fs {
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// The whole file as bytes, or its first `maxBytes` when it is longer (a file
// anyone may have planted is never read whole); nullopt when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes = SIZE_MAX);
// Replaces the file in one step (temporary file beside it, then rename), so a
// reader never sees half a file. Creates nothing but the file itself.
bool WriteFileAtomic(const std::string& path, std::string_view content);
bool DeleteFile(const std::string& path);
bool CreateFolder(const std::string& path);
// Names (not paths) of the immediate sub-folders, in the order the platform lists them.
std::vector<std::string> ListSubfolders(const std::string& path);
// Names (not paths) of the files right in the folder, in the order the platform lists them.
std::vector<std::string> ListFiles(const std::string& path);
}  // namespace fs

// ---- late-bound objects (page document, window, browser) ------------------
class Object;
using Value = std::variant<std::monostate, bool, std::int32_t, double, std::string, Object>;

// A reference to an object reached by name the way script reaches it. On
// Windows it holds an IDispatch; in the sim a property bag. Every call can
// fail; failure is an empty optional / false, never an exception.
class Object {
public:
    class Impl {
    public:
        virtual ~Impl() = default;
        virtual std::optional<Value> Get(std::string_view name) = 0;
        virtual bool Put(std::string_view name, const Value& value) = 0;
        virtual std::optional<Value> Call(std::string_view name, const std::vector<Value>& args) = 0;
        virtual const void* Identity() const = 0;
    };

    Object() = default;
    explicit Object(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}

    explicit operator bool() const { return impl_ != nullptr; }
    std::optional<Value> Get(std::string_view name) const;
    bool Put(std::string_view name, const Value& value) const;
    std::optional<Value> Call(std::string_view name, const std::vector<Value>& args = {}) const;
    // Convenience: a property read as text / object; nullopt / empty when it is not one.
    std::optional<std::string> GetText(std::string_view name) const;
    Object GetObject(std::string_view name) const;
    // Runs script in a page window object (its execScript method).
    bool ExecScript(std::string_view code, std::string_view language = "JScript") const;

    bool operator==(const Object& other) const { return Identity() == other.Identity(); }
    const void* Identity() const { return impl_ ? impl_->Identity() : nullptr; }
    Impl* impl() const { return impl_.get(); }

private:
    std::shared_ptr<Impl> impl_;
};

// The object behind an LRESULT that a page window returned for WM_HTML_GETOBJECT.
Object ObjectFromLresult(LRESULT result);

// ---- screen capture and connection state ------------------------------------
// Copies the rectangle (x, y, width, height) of a window, frame included, into
// a Windows bitmap file at path (no extension added). False when it could not
// be captured or written. (The sim writes a recognisable placeholder file.)
bool CaptureWindowToBitmapFile(HWND hwnd, int x, int y, int width, int height, const std::string& path);
// Puts the whole process into offline mode, as if the user had chosen "Work
// Offline". False when the platform refused.
bool SetOfflineMode();

// ---- colour chooser -------------------------------------------------------
// Shows the colour chooser; returns true and the colour when the user chose one.
bool ChooseColorDialog(COLORREF initial, const COLORREF (&customColours)[16], COLORREF* chosen);

// ---- the address-bar decorations: brushes, colours, icons, the security
// dialog and the control host (implemented in address_bar.cpp of each backend)
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
BOOL DeleteObject(HGDIOBJ object);
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
HANDLE LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags);
// The platform's certificate and security dialog for an address (wininet,
// loaded when first needed). False when it is not available.
BOOL InternetShowSecurityInfoByURLA(const char* url, HWND owner);
// Registers the ATL control host window class "AtlAxWin" (atl.dll, loaded at
// run time). False when the library or its entry point is missing.
bool AtlAxWinInit();
// ---- status-bar information: security zones, icons, names, web requests ----
// The URL security manager's zone of an address; nullopt when it cannot tell.
std::optional<std::int32_t> MapUrlToZone(const std::string& url);
// Adds (remove false) or removes a site pattern to or from a zone; false when refused.
bool SetZoneMapping(std::int32_t zone, const std::string& pattern, bool remove);
// A DWORD value under HKEY_CURRENT_USER; nullopt when absent or of another type.
std::optional<std::uint32_t> ReadUserRegistryDword(const std::string& subKey, const std::string& valueName);
// The Internet control panel's security settings dialog.
bool LaunchSecurityDialog(HWND owner);
// A 16 x 16 icon loaded from an .ico file, as the LPARAM of STM_SETIMAGE; 0 when it cannot be loaded.
LPARAM LoadIconFile(const std::string& path);
void DestroyIconHandle(LPARAM icon);

// One address of a host name as name resolution gives it, in its usual text form.
struct ResolvedAddress {
    bool ipv6 = false;
    std::string text;
};
// Every address of the name, in the resolver's order; empty when it cannot be resolved.
// It waits for the resolver: never on the UI thread, use StartNameLookup there.
std::vector<ResolvedAddress> ResolveHostName(const std::string& name);
// ResolveHostName on a worker thread. Start returns at once (0: could not be
// started); Poll gives the addresses once known; a lookup that is not polled
// any more is ended with CancelNameLookup (also after completion), which frees it.
using NameLookupId = std::uint32_t;
NameLookupId StartNameLookup(const std::string& name);
std::optional<std::vector<ResolvedAddress>> PollNameLookup(NameLookupId id);
void CancelNameLookup(NameLookupId id);

// An asynchronous web request. Start returns at once; Poll tells whether it
// has completed, and with what. A request that is not polled any more is ended
// with CancelHttpRequest (also after completion), which frees it and closes its
// connection at once. A request that has not completed within kHttpDeadlineMs
// of its start completes with no answer.
inline constexpr std::uint32_t kHttpDeadlineMs = 15000;
struct HttpRequestSpec {
    std::string method;       // "GET" or "POST"
    std::string url;          // "https://host[:port]/path?query" (or http)
    std::string contentType;  // empty: no Content-Type header
    std::string body;
};
struct HttpResult {
    bool ok = false;  // false: no answer (connection failed, time-out)
    int status = 0;
    std::string body;
};
using HttpRequestId = std::uint32_t;  // 0: could not be started
HttpRequestId StartHttpRequest(const HttpRequestSpec& request);
std::optional<HttpResult> PollHttpRequest(HttpRequestId id);
void CancelHttpRequest(HttpRequestId id);
// ---- dialogs of the plugin's own -------------------------------------------
// Activates a top-level window of this thread; the window active before.
HWND SetActiveWindow(HWND hwnd);

// ---- clock, debugger output and file stamps --------------------------------
// Milliseconds since the system started; wraps after 49.7 days, so compare
// two readings by their difference.
DWORD TickCount();
// One line for a debug viewer (OutputDebugStringA on Windows).
void OutputDebugText(const std::string& text);
namespace fs {
// What shows that a file or folder changed: its last write time and size
// (a folder's write time moves when an entry in it appears or goes).
struct Stamp {
    std::uint64_t writeTime = 0;
    std::uint64_t size = 0;
    bool operator==(const Stamp&) const = default;
};
// nullopt when nothing of that name exists. Cheaper than reading the file.
std::optional<Stamp> FileStamp(const std::string& path);
}  // namespace fs

}  // namespace host
