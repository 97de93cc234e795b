#include "options/win32/dialog_kit.h"

#include <commctrl.h>

#include "host/text.h"

namespace tillwick::ui {
namespace {

constexpr WORD kManifestResourceId = 2;  // ISOLATIONAWARE_MANIFEST_RESOURCE_ID

void AnchorFunction() {}

// The message font as a template names it: face and point size at the screen's DPI.
struct DialogFont {
    std::wstring face = L"MS Shell Dlg";
    WORD points = 8;
    WORD weight = FW_NORMAL;
    BYTE italic = 0;
    BYTE charset = DEFAULT_CHARSET;
};

DialogFont MessageFont() {
    DialogFont font;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return font;
    const LOGFONTW& lf = metrics.lfMessageFont;
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    const int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    if (height == 0 || lf.lfFaceName[0] == 0) return font;
    font.face = lf.lfFaceName;
    font.points = static_cast<WORD>(::MulDiv(height, 72, dpi > 0 ? dpi : 96));
    if (font.points < 8) font.points = 8;
    font.charset = lf.lfCharSet;
    return font;
}

}  // namespace

HMODULE OwnModule() noexcept {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&AnchorFunction), &module);
    return module;
}

VisualStyleScope::VisualStyleScope() noexcept {
    HMODULE module = OwnModule();
    if (module == nullptr || ::FindResourceW(module, MAKEINTRESOURCEW(kManifestResourceId), MAKEINTRESOURCEW(24)) == nullptr)
        return;
    ACTCTXW ctx{};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.hModule = module;
    ctx.lpResourceName = MAKEINTRESOURCEW(kManifestResourceId);
    context_ = ::CreateActCtxW(&ctx);
    if (context_ == INVALID_HANDLE_VALUE) return;
    if (!::ActivateActCtx(context_, &cookie_)) cookie_ = 0;
    // Registers version 6's classes in this context.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

VisualStyleScope::~VisualStyleScope() {
    if (cookie_ != 0) ::DeactivateActCtx(0, cookie_);
    if (context_ != INVALID_HANDLE_VALUE) ::ReleaseActCtx(context_);
}

DialogTemplate::DialogTemplate(std::wstring_view title, DWORD style, short cx, short cy) {
    const DialogFont font = MessageFont();
    Put(1);       // dlgVer
    Put(0xFFFF);  // signature: extended template
    PutDword(0);  // helpID
    PutDword(0);  // exStyle
    PutDword(style | DS_SHELLFONT);
    countAt_ = words_.size();
    Put(0);  // cDlgItems, counted by AddControl
    Put(0);  // x
    Put(0);  // y
    Put(static_cast<WORD>(cx));
    Put(static_cast<WORD>(cy));
    Put(0);  // no menu
    Put(0);  // the dialog class
    PutText(title);
    Put(font.points);
    Put(font.weight);
    Put(static_cast<WORD>(font.italic | (font.charset << 8)));
    PutText(font.face);
}

void DialogTemplate::PutText(std::wstring_view text) {
    for (wchar_t c : text) Put(static_cast<WORD>(c));
    Put(0);
}

void DialogTemplate::AddControl(DWORD id, std::wstring_view windowClass, std::wstring_view text, DWORD style,
                                DWORD exStyle, short x, short y, short cx, short cy) {
    AlignDword();
    PutDword(0);  // helpID
    PutDword(exStyle);
    PutDword(style | WS_CHILD);
    Put(static_cast<WORD>(x));
    Put(static_cast<WORD>(y));
    Put(static_cast<WORD>(cx));
    Put(static_cast<WORD>(cy));
    PutDword(id);
    PutText(windowClass);
    PutText(text);
    Put(0);  // no creation data
    ++words_[countAt_];
}

INT_PTR RunModalDialog(const DialogTemplate& dialog, HWND owner, DLGPROC proc, LPARAM param) noexcept {
    VisualStyleScope styles;
    return ::DialogBoxIndirectParamW(OwnModule(), dialog.Data(), owner, proc, param);
}

TextMeasure::TextMeasure(HWND window) noexcept : dc_(::GetDC(window)) {
    if (dc_ != nullptr) old_ = ::SelectObject(dc_, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
}

TextMeasure::~TextMeasure() {
    if (dc_ == nullptr) return;
    if (old_ != nullptr) ::SelectObject(dc_, old_);
    ::ReleaseDC(nullptr, dc_);
}

int TextMeasure::Width(std::wstring_view text) const noexcept {
    SIZE size{};
    if (dc_ == nullptr || text.empty()) return 0;
    ::GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int TextMeasure::Height() const noexcept {
    TEXTMETRICW metrics{};
    if (dc_ == nullptr || !::GetTextMetricsW(dc_, &metrics)) return 0;
    return metrics.tmHeight;
}

int DluX(HWND dialog, int x) noexcept {
    RECT r{0, 0, x, 0};
    ::MapDialogRect(dialog, &r);
    return r.right;
}

int DluY(HWND dialog, int y) noexcept {
    RECT r{0, 0, 0, y};
    ::MapDialogRect(dialog, &r);
    return r.bottom;
}

int CaptionOffset(HWND button, std::wstring_view caption) noexcept {
    const int textWidth = TextMeasure(button).Width(caption);
    SIZE ideal{};
    if (::SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > textWidth)
        return ideal.cx - textWidth;
    return ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE) * 2;
}

std::wstring Wide(std::string_view text) {
    const std::u16string wide = host::AnsiToWide(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view text) {
    return host::WideToAnsi(std::u16string(text.begin(), text.end()));
}

std::wstring WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace tillwick::ui
