// Internal state and helpers of the simulated Windows, shared by its source
// files. Nothing outside src/host/sim includes this.
//
// The model follows user32 closely where callers can observe it: windows keep
// their rectangle relative to the parent's client area, children are kept in
// z-order (top first), window procedures are entries of a procedure table
// with an ANSI and/or a Unicode side (as Wine's winproc table), and every
// delivery to a window procedure goes through Deliver(), which logs it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/host.h"
#include "host/sim/sim.h"

namespace host::sim::detail {

using WString = std::u16string;

// ---- text -------------------------------------------------------------------
// ANSI text in the sim is Latin-1 (host/text.h); "W" text is UTF-16.
WString Widen(std::string_view ansi);
std::string Narrow(std::u16string_view wide);
WString WideZ(const WCHAR* text);     // null gives the empty text
std::string AnsiZ(const char* text);  // null gives the empty text
// lstrcpyn: copies at most capacity - 1 units and a terminator; returns the
// units copied. Nothing is written when capacity <= 0.
int CopyOut(char* dst, int capacity, std::string_view src);
int CopyOut(WCHAR* dst, int capacity, std::u16string_view src);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
std::string Lower(std::string_view text);

// ---- window procedures --------------------------------------------------------
// A procedure-table entry has an ANSI side, a Unicode side, or both (the
// built-in user32 controls). Handles of entries (0xFFFF0000 | index) stand in
// for procedures of the other character set, as Win32's winproc handles do.
using ProcId = int;
ProcId RegisterDualProc(WNDPROC ansi, WNDPROC wide);  // built-ins, kept across Reset
ProcId ProcFor(WNDPROC proc, bool unicode);           // SetWindowLongPtr's view
WNDPROC ProcValue(ProcId id, bool unicode);           // GetWindowLongPtr's view
bool ProcIsUnicode(ProcId id, bool fallback);
bool IsProcHandle(WNDPROC proc);
ProcId ProcFromHandle(WNDPROC proc);
void ResetProcTable();
// Calls entry `id` for a caller of the given character set, converting text
// messages when the entry only has the other side.
LRESULT CallProc(ProcId id, bool unicodeCaller, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Calls an application procedure, catching whatever it throws (the result is then 0).
LRESULT CallGuarded(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Records an exception that an application callback let escape.
void NoteSwallowedException();

// ---- windows -------------------------------------------------------------------
enum class Builtin { None, Desktop, Tab, Tooltip, StatusBar, Toolbar, Rebar, MdiClient, Edit, ComboBox, Static, Button };

struct ClassInfo {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    ProcId proc = 0;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
    Builtin kind = Builtin::None;
    bool dual = false;  // has ANSI and Unicode procedures: the window takes the creator's set
};

// Per-window state of a built-in control.
struct ControlState {
    virtual ~ControlState() = default;
    // The caption when the control keeps its own text (status bar part 0, combo edit).
    virtual std::optional<WString> Caption() const { return std::nullopt; }
    // A child of this control is going away.
    virtual void ChildGone(HWND child) { (void)child; }
};

struct Window {
    HWND handle = nullptr;
    const ClassInfo* cls = nullptr;
    ProcId proc = 0;
    bool unicode = false;
    WString text;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // the desktop (or the message root) for top-level windows
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, top first
    RECT rect{};                 // in the parent's client coordinates
    RECT nc{};                   // non-client widths (left, top, right, bottom), fixed until SWP_FRAMECHANGED
    RECT normalRect{};           // restored rectangle while minimized or maximized
    POINT minPos{-1, -1};
    POINT maxPos{-1, -1};
    bool restoreToMaximized = false;
    LONG_PTR id = 0;  // control id of a child; the menu of other windows
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    std::vector<unsigned char> extra;
    std::unique_ptr<ControlState> control;
    bool needsPaint = false;
    int invalidations = 0;
    bool destroying = false;
    bool destroyed = false;
    bool root = false;  // the desktop or the message-only root
};

Window* Find(HWND hwnd);     // a live window (not the roots)
Window* FindAny(HWND hwnd);  // also the roots and windows under destruction
HWND DesktopHandle();
HWND MessageRootHandle();
bool IsRoot(HWND hwnd);
bool IsTopLevel(const Window& w);
bool IsChildStyle(const Window& w);  // WS_CHILD without WS_POPUP
HWND RootOf(HWND hwnd);              // GA_ROOT
bool IsDescendant(HWND ancestor, HWND hwnd);
const ClassInfo* FindClass(const char* name);  // app classes first, then built-ins
const ClassInfo* FindClassW(std::u16string_view name);
const ClassInfo* BuiltinClass(Builtin kind);
ATOM AtomFor(std::string_view name);  // the shared atom table (classes, messages)

struct CreateArgs {
    DWORD exStyle = 0;
    const ClassInfo* cls = nullptr;
    WString name;
    bool hasName = false;
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
    void* param = nullptr;
    bool unicode = false;
    // What the CREATESTRUCT shows for an ANSI creator.
    const char* ansiName = nullptr;
    const char* ansiClass = nullptr;
};
HWND CreateWindowInternal(CreateArgs args);
HWND CreateChildW(const char* className, DWORD style, const WString& text, int x, int y, int cx, int cy,
                  HWND parent, UINT_PTR id, bool unicode);
bool DestroyWindowInternal(HWND hwnd);

template <class T>
T* ControlOf(HWND hwnd) {
    Window* w = FindAny(hwnd);
    if (!w || w->destroyed) return nullptr;
    return dynamic_cast<T*>(w->control.get());
}
template <class T>
T* EnsureControl(HWND hwnd) {
    Window* w = FindAny(hwnd);
    if (!w || w->destroyed) return nullptr;
    if (auto* existing = dynamic_cast<T*>(w->control.get())) return existing;
    w->control = std::make_unique<T>();
    return static_cast<T*>(w->control.get());
}

// ---- geometry, z-order, visibility ------------------------------------------------
int CaptionHeight(const Window& w);
RECT ComputeNonClient(const Window& w);  // borders, caption and scroll bars the style asks for
// Sets or clears WS_MINIMIZE/WS_MAXIMIZE for a show command and gives the
// rectangle the window takes; returns SetWindowPos flags (SWP_STATECHANGED ...).
UINT MinMaximize(Window& w, int cmd, RECT& target);
RECT ClientRectOf(const Window& w);          // (0, 0, width, height)
POINT ClientOriginInParent(const Window& w);  // in the parent's client coordinates
POINT ClientOriginOnScreen(HWND hwnd);
RECT WindowRectOnScreen(const Window& w);
bool VisibleOnScreen(HWND hwnd);  // IsWindowVisible
void Unlink(Window& w);
void LinkAt(Window& w, HWND insertAfter);  // HWND_TOP/BOTTOM/TOPMOST/NOTOPMOST or a sibling
bool SetWindowPosInternal(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ShowWindowInternal(HWND hwnd, int cmd);
void NoteNormalRect(Window& w);

// ---- activation and focus ----------------------------------------------------------
bool CanActivate(HWND hwnd);
void ActivateWindow(HWND hwnd, bool changeFocus = true);  // activation messages, then focus
void ActivateOtherWindow(HWND leaving);  // the leaving window is hidden or destroyed
HWND SetFocusInternal(HWND hwnd);
void ForgetWindowInput(HWND hwnd);  // focus, capture, hot keys of a window that goes away

// ---- messages -------------------------------------------------------------------
// Delivers a message to the window's current procedure and logs it.
LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode, bool posted);
LRESULT SendW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);  // the sim's own sends
LRESULT DefWindowProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode);
LRESULT CALLBACK DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostInternal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode);
void DropPostedFor(HWND hwnd);
// One pass of the message loop: posted messages, then paints. Returns whether anything ran.
bool PumpPostedAndPaint();
// Consumes posted messages the way a modal menu loop does (input eaten, the rest dispatched).
void PumpForMenuLoop();
void Invalidate(HWND hwnd, bool children);
void PaintNow(HWND hwnd, bool children);
void NotifyParent(HWND child, UINT code);  // WM_PARENTNOTIFY

// ---- timers -----------------------------------------------------------------------
void KillWindowTimers(HWND hwnd);
// Fires the timers due at the present instant (a modal loop dispatches WM_TIMER too).
void FireDueTimers();

// ---- menus ------------------------------------------------------------------------
struct Menu;
struct FoundItem {
    Menu* menu;
    UINT pos;
};
Menu* MenuOf(HMENU handle);
// An item by position (MF_BYPOSITION) or by command (searching submenus first,
// the submenu item itself as the last resort).
std::optional<FoundItem> FindMenuItem(HMENU handle, UINT item, UINT flags, int depth = 0);
bool DestroyMenuInternal(HMENU menu);
std::vector<MenuItemSnapshot> Snapshot(HMENU handle, int depth);

// ---- built-in controls --------------------------------------------------------------
LRESULT CALLBACK TabProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TooltipProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StatusBarProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ToolbarProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK RebarProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK MdiClientProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK MdiClientProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProcW(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProcA(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProcW(HWND, UINT, WPARAM, LPARAM);
// The MDI client's side of creating, activating and losing a child.
void MdiPrepareChild(HWND client, CreateArgs& args);
void MdiChildCreated(HWND client, HWND child);
// Text as a control procedure sees it for a message of either character set.
WString TextArg(LPARAM lParam, bool unicode);
// WM_GETTEXT / WM_GETTEXTLENGTH answers from a stored text.
LRESULT AnswerGetText(const WString& text, WPARAM capacity, LPARAM buffer, bool unicode);
LRESULT AnswerGetTextLength(const WString& text, bool unicode);
void NotifyCommand(HWND control, WORD code);  // WM_COMMAND to the parent

// ---- process state --------------------------------------------------------------------
struct Posted {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool unicode;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    std::uint64_t due = 0;
    std::uint64_t seq = 0;
};

struct MenuItem {
    UINT type = 0;   // MFT_* bits, MF_POPUP when it has a submenu
    UINT state = 0;  // MFS_* bits
    UINT id = 0;
    HMENU submenu = nullptr;
    std::optional<WString> text;
    UINT_PTR data = 0;
    void* bitmap = nullptr;
    void* checked = nullptr;
    void* unchecked = nullptr;
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    bool tracking = false;
    std::vector<MenuItem> items;
};

struct FileEntry {
    std::string path;  // as first written
    std::string content;
    std::uint64_t version = 0;  // stands in for the write time: raised by every write
};

void ResetAddressBarGdi();  // address_bar.cpp

// Notes one call of a platform function that costs a round trip on Windows
// (input, timers, messages, file reads): see host::sim::CountedCalls.
void CountCall();
// A new file version, never handed out before in this process (not even
// before a Reset), as a real write time never repeats.
std::uint64_t NextFileVersion();

struct State {
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    HWND desktop = nullptr;
    HWND messageRoot = nullptr;
    std::vector<std::unique_ptr<ClassInfo>> classes;
    HWND active = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;

    std::deque<Posted> posted;
    std::vector<LoggedMessage> log;
    int sendDepth = 0;
    int swallowed = 0;

    std::uint64_t now = 0;
    std::vector<Timer> timers;
    std::uint64_t timerSeq = 0;

    std::array<std::uint8_t, 256> keys{};
    POINT cursor{0, 0};
    std::optional<std::string> clipboard;
    bool modulePinned = false;  // PinModule was called
    std::vector<HotKey> hotKeys;

    std::map<int, int> metrics;
    std::string exePath;
    std::string pluginPath;
    std::optional<int> processCount;

    std::unordered_map<HMENU, std::unique_ptr<Menu>> menus;
    std::deque<UINT> menuAnswers;
    std::vector<TrackedMenu> tracked;
    std::deque<int> boxAnswers;
    std::vector<MessageBoxCall> boxes;
    std::deque<std::optional<COLORREF>> colours;

    std::map<std::string, FileEntry> files;     // by lower-case normalised path
    std::map<std::string, std::string> folders;  // created folders: lower-case path -> as given
    std::uint64_t treeVersion = 0;  // raised when a file or folder appears or goes: the folders' write time
    std::uint64_t countedCalls = 0;
    std::size_t largestFileRead = 0;
    std::vector<std::string> debugOutput;

    std::map<LRESULT, Object> objects;
};

State& S();
HWND NewWindowHandle();
HMENU NewMenuHandle();
UINT_PTR NewTimerId();
void CreateRoots();  // the desktop and the message-only root of a fresh process

}  // namespace host::sim::detail
