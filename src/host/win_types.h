// Win32 vocabulary for the whole code base.
//
// On Windows this is <windows.h> and <commctrl.h> themselves. Elsewhere (the
// simulated Windows used by the native tests) it declares look-alike types and
// the constants the plugin uses, with Win32's names and values, so that plugin
// code compiles unchanged against both backends.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#else  // simulated Windows

#include <cstddef>
#include <cstdint>

#define CALLBACK
#define WINAPI

struct HWND__;
using HWND = HWND__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = int;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using ATOM = std::uint16_t;
using COLORREF = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using HRESULT = std::int32_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x, y, cx, cy;
    UINT flags;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    void* hIcon;
    void* hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct CREATESTRUCTA {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy, cx, y, x;
    LONG style;
    const char* lpszName;
    const char* lpszClass;
    DWORD dwExStyle;
};

struct MDICREATESTRUCTA {
    const char* szClass;
    const char* szTitle;
    HINSTANCE hOwner;
    int x, y, cx, cy;
    DWORD style;
    LPARAM lParam;
};

struct CLIENTCREATESTRUCT {
    HMENU hWindowMenu;
    UINT idFirstChild;
};

struct MENUITEMINFOA {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    void* hbmpChecked;
    void* hbmpUnchecked;
    UINT_PTR dwItemData;
    char* dwTypeData;
    UINT cch;
    void* hbmpItem;
};

struct TCITEMA {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    char* pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
struct TCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    char16_t* pszText;  // UTF-16, as on Windows (wchar_t is 32 bits here)
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};

struct TBBUTTON {
    int iBitmap;
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[6];
    UINT_PTR dwData;
    std::intptr_t iString;
};
struct TBBUTTONINFOA {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    UINT_PTR lParam;
    char* pszText;
    int cchText;
};

struct REBARBANDINFOA {
    UINT cbSize;
    UINT fMask;
    UINT fStyle;
    COLORREF clrFore;
    COLORREF clrBack;
    char* lpText;
    UINT cch;
    int iImage;
    HWND hwndChild;
    UINT cxMinChild;
    UINT cyMinChild;
    UINT cx;
    void* hbmBack;
    UINT wID;
    UINT cyChild;
    UINT cyMaxChild;
    UINT cyIntegral;
    UINT cxIdeal;
    LPARAM lParam;
    UINT cxHeader;
    RECT rcChevronLocation;
    UINT uChevronState;
};

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

struct PAINTSTRUCT {
    void* hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

// Window messages.
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
               WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008,
               WM_ENABLE = 0x000A, WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D,
               WM_GETTEXTLENGTH = 0x000E, WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012,
               WM_ERASEBKGND = 0x0014, WM_SHOWWINDOW = 0x0018, WM_SETCURSOR = 0x0020,
               WM_MOUSEACTIVATE = 0x0021, WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047,
               WM_NOTIFY = 0x004E, WM_CONTEXTMENU = 0x007B, WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082,
               WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCMOUSEMOVE = 0x00A0,
               WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_INITDIALOG = 0x0110,
               WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113,
               WM_INITMENU = 0x0116, WM_INITMENUPOPUP = 0x0117, WM_MENUSELECT = 0x011F,
               WM_UNINITMENUPOPUP = 0x0125, WM_CTLCOLOREDIT = 0x0133, WM_CTLCOLORDLG = 0x0136,
               WM_CTLCOLORSTATIC = 0x0138, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
               WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204,
               WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
               WM_MOUSEWHEEL = 0x020A, WM_MDICREATE = 0x0220, WM_MDIDESTROY = 0x0221,
               WM_MDIACTIVATE = 0x0222, WM_MDIGETACTIVE = 0x0229, WM_CAPTURECHANGED = 0x0215,
               WM_NCMOUSELEAVE = 0x02A2, WM_MOUSELEAVE = 0x02A3, WM_CUT = 0x0300, WM_COPY = 0x0301,
               WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304, WM_HOTKEY = 0x0312,
               WM_USER = 0x0400, WM_APP = 0x8000;

// Edit and combo box.
constexpr UINT EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_CANUNDO = 0x00C6, EM_REPLACESEL = 0x00C2,
               CB_GETEDITSEL = 0x0140, CB_SETEDITSEL = 0x0142, CB_ADDSTRING = 0x0143,
               CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147, CB_SETCURSEL = 0x014E;

// Tab control.
constexpr UINT TCM_FIRST = 0x1300, TCM_GETIMAGELIST = 0x1302, TCM_SETIMAGELIST = 0x1303,
               TCM_GETITEMCOUNT = 0x1304, TCM_GETITEMA = 0x1305, TCM_SETITEMA = 0x1306,
               TCM_INSERTITEMA = 0x1307, TCM_DELETEITEM = 0x1308, TCM_DELETEALLITEMS = 0x1309,
               TCM_GETITEMRECT = 0x130A, TCM_GETCURSEL = 0x130B, TCM_SETCURSEL = 0x130C,
               TCM_HITTEST = 0x130D, TCM_ADJUSTRECT = 0x1328, TCM_GETTOOLTIPS = 0x132D,
               TCM_GETCURFOCUS = 0x132F, TCM_SETCURFOCUS = 0x1330, TCM_GETITEMW = 0x133C,
               TCM_SETITEMW = 0x133D, TCM_INSERTITEMW = 0x133E;
constexpr UINT TCIF_TEXT = 0x0001, TCIF_IMAGE = 0x0002, TCIF_PARAM = 0x0008;
constexpr UINT TCHT_NOWHERE = 0x0001, TCHT_ONITEMICON = 0x0002, TCHT_ONITEMLABEL = 0x0004,
               TCHT_ONITEM = 0x0006;

// Tooltip.
constexpr UINT TTM_ACTIVATE = 0x0401;

// Status bar.
constexpr UINT SB_SETTEXTA = 0x0401, SB_GETTEXTA = 0x0402, SB_GETTEXTLENGTHA = 0x0403,
               SB_SETPARTS = 0x0404, SB_GETPARTS = 0x0406, SB_GETRECT = 0x040A,
               SB_SETTEXTW = 0x040B, SB_GETTEXTLENGTHW = 0x040C, SB_GETTEXTW = 0x040D,
               SB_SIMPLE = 0x0409;

// Toolbar.
constexpr UINT TB_ENABLEBUTTON = 0x0401, TB_CHECKBUTTON = 0x0402, TB_HIDEBUTTON = 0x0404,
               TB_ISBUTTONHIDDEN = 0x040C, TB_SETSTATE = 0x0411, TB_GETSTATE = 0x0412,
               TB_ADDBUTTONSA = 0x0414, TB_INSERTBUTTONA = 0x0415, TB_DELETEBUTTON = 0x0416,
               TB_GETBUTTON = 0x0417, TB_BUTTONCOUNT = 0x0418, TB_COMMANDTOINDEX = 0x0419,
               TB_GETITEMRECT = 0x041D, TB_BUTTONSTRUCTSIZE = 0x041E, TB_GETRECT = 0x0433,
               TB_GETBUTTONINFOA = 0x0441, TB_SETBUTTONINFOA = 0x0442, TB_HITTEST = 0x0445,
               TB_GETBUTTONINFOW = 0x043F, TB_SETBUTTONINFOW = 0x0440;
constexpr BYTE TBSTATE_CHECKED = 0x01, TBSTATE_PRESSED = 0x02, TBSTATE_ENABLED = 0x04,
               TBSTATE_HIDDEN = 0x08;
constexpr DWORD TBIF_IMAGE = 0x0001, TBIF_TEXT = 0x0002, TBIF_STATE = 0x0004, TBIF_STYLE = 0x0008,
                TBIF_LPARAM = 0x0010, TBIF_COMMAND = 0x0020, TBIF_SIZE = 0x0040,
                TBIF_BYINDEX = 0x80000000;

// Rebar.
constexpr UINT RB_INSERTBANDA = 0x0401, RB_DELETEBAND = 0x0402, RB_SETBANDINFOA = 0x0406,
               RB_GETBANDCOUNT = 0x040C, RB_GETROWCOUNT = 0x040D, RB_GETROWHEIGHT = 0x040E,
               RB_IDTOINDEX = 0x0410, RB_GETBARHEIGHT = 0x041B, RB_GETBANDINFOA = 0x041D,
               RB_SHOWBAND = 0x0423;
constexpr UINT RBBIM_STYLE = 0x0001, RBBIM_COLORS = 0x0002, RBBIM_TEXT = 0x0004,
               RBBIM_IMAGE = 0x0008, RBBIM_CHILD = 0x0010, RBBIM_CHILDSIZE = 0x0020,
               RBBIM_SIZE = 0x0040, RBBIM_BACKGROUND = 0x0080, RBBIM_ID = 0x0100;
constexpr UINT RBBS_HIDDEN = 0x0008;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000,
                WS_MAXIMIZE = 0x01000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000,
                WS_DLGFRAME = 0x00400000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000,
                WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_MINIMIZEBOX = 0x00020000,
                WS_MAXIMIZEBOX = 0x00010000, WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_TOPMOST = 0x00000008, WS_EX_TOOLWINDOW = 0x00000080,
                WS_EX_MDICHILD = 0x00000040, WS_EX_CLIENTEDGE = 0x00000200;

constexpr int GWL_WNDPROC = -4, GWLP_WNDPROC = -4, GWL_STYLE = -16, GWL_EXSTYLE = -20,
              GWLP_USERDATA = -21, GWL_USERDATA = -21, GWLP_ID = -12;

constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2,
              SW_SHOWMAXIMIZED = 3, SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5,
              SW_MINIMIZE = 6, SW_SHOWNA = 8, SW_RESTORE = 9;

constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004,
               SWP_NOREDRAW = 0x0008, SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020,
               SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080;

inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(-3);

constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
               RDW_VALIDATE = 0x0008, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
               RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400;

constexpr UINT SMTO_NORMAL = 0x0000, SMTO_BLOCK = 0x0001, SMTO_ABORTIFHUNG = 0x0002;

// Menus.
constexpr UINT MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400, MF_STRING = 0x0000,
               MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002,
               MF_UNCHECKED = 0x0000, MF_CHECKED = 0x0008, MF_POPUP = 0x0010,
               MF_SEPARATOR = 0x0800, MF_OWNERDRAW = 0x0100, MF_MENUBARBREAK = 0x0020;
constexpr UINT MIIM_STATE = 0x0001, MIIM_ID = 0x0002, MIIM_SUBMENU = 0x0004,
               MIIM_CHECKMARKS = 0x0008, MIIM_TYPE = 0x0010, MIIM_DATA = 0x0020,
               MIIM_STRING = 0x0040, MIIM_BITMAP = 0x0080, MIIM_FTYPE = 0x0100;
constexpr UINT MFT_STRING = 0x0000, MFT_SEPARATOR = 0x0800, MFT_RADIOCHECK = 0x0200;
constexpr UINT MFS_ENABLED = 0x0000, MFS_GRAYED = 0x0003, MFS_DISABLED = 0x0003,
               MFS_CHECKED = 0x0008, MFS_DEFAULT = 0x1000;
constexpr UINT TPM_LEFTALIGN = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_NONOTIFY = 0x0080,
               TPM_RETURNCMD = 0x0100;

// Message boxes.
constexpr UINT MB_OK = 0x0000, MB_OKCANCEL = 0x0001, MB_YESNO = 0x0004, MB_ICONQUESTION = 0x0020,
               MB_ICONEXCLAMATION = 0x0030, MB_ICONINFORMATION = 0x0040;
constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;

// Keys and hot keys.
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_BACK = 0x08, VK_TAB = 0x09,
              VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
              VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_END = 0x23, VK_HOME = 0x24,
              VK_F1 = 0x70, VK_F12 = 0x7B;
constexpr UINT MOD_ALT = 0x0001, MOD_CONTROL = 0x0002, MOD_SHIFT = 0x0004, MOD_WIN = 0x0008;

// System metrics and colours.
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CYCAPTION = 4, SM_CXBORDER = 5,
              SM_CYBORDER = 6, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXSIZE = 30, SM_CYSIZE = 31,
              SM_CYMENU = 15;
constexpr int COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_HIGHLIGHT = 13,
              COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNTEXT = 18, COLOR_INFOBK = 24;

// Clipboard formats.
constexpr UINT CF_TEXT = 1, CF_UNICODETEXT = 13;

// HRESULTs.
constexpr HRESULT S_OK = 0, S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);

// ---- further vocabulary (sim side) ---------------------------------------
// "W" text in the simulated Windows is UTF-16, as on Windows: WCHAR is a
// 16-bit unit here (wchar_t is 32 bits on Linux).
using WCHAR = char16_t;
using INT_PTR = std::intptr_t;

struct CREATESTRUCTW {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy, cx, y, x;
    LONG style;
    const WCHAR* lpszName;
    const WCHAR* lpszClass;
    DWORD dwExStyle;
};

struct MDICREATESTRUCTW {
    const WCHAR* szClass;
    const WCHAR* szTitle;
    HINSTANCE hOwner;
    int x, y, cx, cy;
    DWORD style;
    LPARAM lParam;
};

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

struct TBBUTTONINFOW {
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    UINT_PTR lParam;
    WCHAR* pszText;
    int cchText;
};

struct REBARBANDINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fStyle;
    COLORREF clrFore;
    COLORREF clrBack;
    WCHAR* lpText;
    UINT cch;
    int iImage;
    HWND hwndChild;
    UINT cxMinChild;
    UINT cyMinChild;
    UINT cx;
    void* hbmBack;
    UINT wID;
    UINT cyChild;
    UINT cyMaxChild;
    UINT cyIntegral;
    UINT cxIdeal;
    LPARAM lParam;
    UINT cxHeader;
    RECT rcChevronLocation;
    UINT uChevronState;
};

struct NMTOOLTIPSCREATED {
    NMHDR hdr;
    HWND hwndToolTips;
};

constexpr UINT WM_SETFONT = 0x0030, WM_GETFONT = 0x0031, WM_ACTIVATEAPP = 0x001C,
               WM_CANCELMODE = 0x001F, WM_CHILDACTIVATE = 0x0022, WM_STYLECHANGING = 0x007C,
               WM_STYLECHANGED = 0x007D, WM_NCACTIVATE = 0x0086, WM_SYSKEYDOWN = 0x0104,
               WM_SYSKEYUP = 0x0105, WM_KEYFIRST = 0x0100, WM_KEYLAST = 0x0109,
               WM_ENTERIDLE = 0x0121, WM_MOUSEFIRST = 0x0200, WM_MOUSELAST = 0x020E,
               WM_PARENTNOTIFY = 0x0210, WM_ENTERMENULOOP = 0x0211, WM_EXITMENULOOP = 0x0212,
               WM_MDIRESTORE = 0x0223, WM_MDINEXT = 0x0224, WM_MDIMAXIMIZE = 0x0225;
constexpr int WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
constexpr int SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
constexpr int HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2;
constexpr int MA_ACTIVATE = 1;
constexpr int MSGF_MENU = 2;
constexpr UINT SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
               SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;

constexpr UINT SWP_NOCOPYBITS = 0x0100, SWP_NOOWNERZORDER = 0x0200, SWP_NOSENDCHANGING = 0x0400,
               SWP_NOCLIENTSIZE = 0x0800, SWP_NOCLIENTMOVE = 0x1000, SWP_DEFERERASE = 0x2000,
               SWP_ASYNCWINDOWPOS = 0x4000, SWP_STATECHANGED = 0x8000;
constexpr int SW_SHOWMINNOACTIVE = 7, SW_SHOWDEFAULT = 10, SW_FORCEMINIMIZE = 11;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_NOPARENTNOTIFY = 0x00000004,
                WS_EX_TRANSPARENT = 0x00000020, WS_EX_WINDOWEDGE = 0x00000100,
                WS_EX_STATICEDGE = 0x00020000, WS_EX_APPWINDOW = 0x00040000,
                WS_EX_LAYERED = 0x00080000, WS_EX_NOACTIVATE = 0x08000000;
constexpr int GWLP_HINSTANCE = -6, GWLP_HWNDPARENT = -8, GWL_ID = -12;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(0xFFFF);
constexpr DWORD MDIS_ALLCHILDSTYLES = 0x0001;

// Edit, combo box and button.
constexpr DWORD ES_LEFT = 0x0000, ES_MULTILINE = 0x0004, ES_PASSWORD = 0x0020,
                ES_AUTOHSCROLL = 0x0080, ES_READONLY = 0x0800;
constexpr UINT EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9, EM_LIMITTEXT = 0x00C5,
               EM_UNDO = 0x00C7, EM_EMPTYUNDOBUFFER = 0x00CD, EM_SETREADONLY = 0x00CF;
constexpr UINT EN_CHANGE = 0x0300, EN_UPDATE = 0x0400;
constexpr DWORD CBS_SIMPLE = 0x0001, CBS_DROPDOWN = 0x0002, CBS_DROPDOWNLIST = 0x0003;
constexpr UINT CB_DELETESTRING = 0x0144, CB_GETLBTEXT = 0x0148, CB_GETLBTEXTLEN = 0x0149,
               CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B, CB_FINDSTRINGEXACT = 0x0158;
constexpr LRESULT CB_ERR = -1;
constexpr UINT CBN_SELCHANGE = 1, CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6;
constexpr UINT BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_CLICK = 0x00F5;
constexpr UINT BN_CLICKED = 0;
constexpr DWORD BS_PUSHBUTTON = 0x0, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
                BS_RADIOBUTTON = 0x4, BS_AUTORADIOBUTTON = 0x9, BS_TYPEMASK = 0xF;
constexpr int BST_UNCHECKED = 0, BST_CHECKED = 1;

// Common controls.
constexpr DWORD CCS_TOP = 0x01, CCS_NOMOVEY = 0x02, CCS_BOTTOM = 0x03, CCS_NORESIZE = 0x04,
                CCS_NOPARENTALIGN = 0x08, CCS_NODIVIDER = 0x40;
constexpr UINT NM_FIRST = 0, NM_CLICK = static_cast<UINT>(-2), NM_RCLICK = static_cast<UINT>(-5),
               NM_TOOLTIPSCREATED = static_cast<UINT>(-19);
constexpr DWORD TCS_TOOLTIPS = 0x4000;
constexpr UINT TCM_SETITEMSIZE = 0x1329;
constexpr UINT TCIF_STATE = 0x0010;
constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
constexpr UINT TCN_SELCHANGE = static_cast<UINT>(-551), TCN_SELCHANGING = static_cast<UINT>(-552);
constexpr UINT SB_SETMINHEIGHT = 0x0408, SB_ISSIMPLE = 0x040E;
constexpr UINT SB_SIMPLEID = 0x00FF;
constexpr UINT SBT_NOBORDERS = 0x0100, SBT_POPOUT = 0x0200, SBT_RTLREADING = 0x0400,
               SBT_NOTABPARSING = 0x0800, SBT_OWNERDRAW = 0x1000;
constexpr UINT TB_ISBUTTONENABLED = 0x0409, TB_ISBUTTONCHECKED = 0x040A, TB_AUTOSIZE = 0x0421,
               TB_INSERTBUTTONW = 0x0443, TB_ADDBUTTONSW = 0x0444;
constexpr BYTE BTNS_BUTTON = 0x00, BTNS_SEP = 0x01, TBSTYLE_SEP = 0x01;
constexpr UINT RB_GETRECT = 0x0409, RB_INSERTBANDW = 0x040A, RB_SETBANDINFOW = 0x040B,
               RB_GETBANDINFOW = 0x041C;
constexpr UINT RBBIM_IDEALSIZE = 0x0200, RBBIM_LPARAM = 0x0400, RBBIM_HEADERSIZE = 0x0800;
constexpr UINT RBBS_BREAK = 0x0001, RBBS_FIXEDSIZE = 0x0002, RBBS_CHILDEDGE = 0x0004,
               RBBS_VARIABLEHEIGHT = 0x0040, RBBS_GRIPPERALWAYS = 0x0080, RBBS_NOGRIPPER = 0x0100;

// Menus.
constexpr UINT MF_BITMAP = 0x0004, MF_MENUBREAK = 0x0040, MF_HILITE = 0x0080,
               MF_USECHECKBITMAPS = 0x0200, MF_SYSMENU = 0x2000, MF_HELP = 0x4000,
               MF_MOUSESELECT = 0x8000;
constexpr UINT MFT_BITMAP = 0x0004, MFT_MENUBARBREAK = 0x0020, MFT_MENUBREAK = 0x0040,
               MFT_OWNERDRAW = 0x0100, MFT_RIGHTORDER = 0x2000, MFT_RIGHTJUSTIFY = 0x4000;
constexpr UINT MFS_UNCHECKED = 0x0000, MFS_HILITE = 0x0080, MFS_UNHILITE = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_VCENTERALIGN = 0x0010,
               TPM_BOTTOMALIGN = 0x0020, TPM_NOANIMATION = 0x4000;

// System metrics and colours.
constexpr int SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8,
              SM_CXICON = 11, SM_CYICON = 12, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17,
              SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50,
              SM_CXMINIMIZED = 57, SM_CYMINIMIZED = 58, SM_CXMAXIMIZED = 61, SM_CYMAXIMIZED = 62,
              SM_CXMENUCHECK = 71, SM_CYMENUCHECK = 72, SM_CXVIRTUALSCREEN = 78,
              SM_CYVIRTUALSCREEN = 79, SM_CMONITORS = 80;
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2,
              COLOR_INACTIVECAPTION = 3, COLOR_MENU = 4, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7,
              COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11,
              COLOR_APPWORKSPACE = 12, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
              COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20, COLOR_3DDKSHADOW = 21,
              COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_HOTLIGHT = 26,
              COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
              COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30;

constexpr UINT CF_OEMTEXT = 7;

inline constexpr BYTE LOBYTE(std::uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
inline constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
inline constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
inline constexpr LONG MAKELONG(WORD low, WORD high) {
    return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

inline constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}

// ---- GDI, icons and statics the address-bar decorations use ------------------
struct HDC__;
using HDC = HDC__*;
struct HICON__;
using HICON = HICON__*;
using HANDLE = void*;
using HGDIOBJ = void*;
using ULONG_PTR = std::uintptr_t;
struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
constexpr UINT BS_SOLID = 0;
constexpr UINT IMAGE_ICON = 1, LR_LOADFROMFILE = 0x0010;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr DWORD SS_ICON = 0x0003;

#endif  // _WIN32
