// The panel editor on Windows: a modal dialog over whatever window opened it
// (the options dialog, or the browser's frame). Ten rows of boxes, one per
// panel, under column headings cut from the language file's heading line;
// the strip's height, separator and shift below. It only moves values
// between its controls and the form model.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <tuple>
#include <string>
#include <vector>

#include "base/errors.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "options/win32/dialog_kit.h"
#include "statushtml/panel_editor.h"

namespace tillwick {
namespace {

// Dialog units.
constexpr short kWidth = 446;
constexpr short kHeight = 214;
constexpr int kMargin = 7;
constexpr int kHeadTop = 7;
constexpr int kFirstRowTop = 19;
constexpr int kRowHeight = 14;
constexpr int kBoxHeight = 12;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;

enum Column { kUse, kName, kAuthor, kVersion, kWidthBox, kOffset, kPath, kPathButton, kColumns };
// Left edge and width of each column.
constexpr std::array<std::pair<int, int>, kColumns> kColumnAt{
    {{kMargin, 10}, {19, 72}, {94, 56}, {153, 32}, {188, 28}, {219, 28}, {250, 170}, {423, 16}}};

constexpr int RowId(int row, int column) { return 100 + row * 10 + column; }
constexpr int kHeading = 300;  // + column, for the headings cut from the heading line
constexpr int kLblHeight = 320, kTxtHeight = 321, kLblSep = 322, kTxtSep = 323, kLblShift = 324, kTxtShift = 325;
constexpr int kCmdUp = 330, kCmdDn = 331, kCmdApply = 332;

HWND g_openEditor = nullptr;

std::string Caption(std::string_view control) {
    for (const PanelEditorCaption& c : kPanelEditorCaptions)
        if (c.control == control) return LanguageText(c.key, c.english);
    return "";
}

// The heading line's words, split where two or more blanks separate them.
std::vector<std::string> HeadingWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        if (at >= line.size()) break;
        std::size_t end = line.find("  ", at);
        if (end == std::string::npos) end = line.size();
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

class PanelEditorWindow {
public:
    explicit PanelEditorWindow(PanelEditorForm& form) : form_(form) {}

    void Run(HWND owner) {
        ui::DialogTemplate dialog(ui::Wide(Caption("title")),
                                  DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kWidth, kHeight);
        constexpr DWORD tab = WS_TABSTOP | WS_VISIBLE;
        const std::vector<std::string> words = HeadingWords(Caption("lblHtml"));
        // Headings over the name to path columns; the whole line when a translation has other words.
        const bool split = words.size() == 6;
        for (int c = kName; c <= kPath; ++c) {
            const auto [x, w] = kColumnAt[c];
            const std::string text = split ? words[static_cast<std::size_t>(c - kName)] : (c == kName ? Caption("lblHtml") : "");
            dialog.AddControl(kHeading + c, L"Static", ui::Wide(text), SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0,
                              static_cast<short>(x), kHeadTop, static_cast<short>(split || c != kName ? w : 420), 8);
        }
        for (int r = 0; r < PanelEditorForm::kRows; ++r) {
            const short y = static_cast<short>(kFirstRowTop + r * kRowHeight);
            for (int c = 0; c < kColumns; ++c) {
                const auto [x, w] = kColumnAt[c];
                if (c == kUse)
                    dialog.AddControl(RowId(r, c), L"Button", L"", BS_AUTOCHECKBOX | tab, 0, static_cast<short>(x),
                                      static_cast<short>(y + 1), static_cast<short>(w), 10);
                else if (c == kPathButton)
                    dialog.AddControl(RowId(r, c), L"Button", L"...", BS_PUSHBUTTON | tab, 0, static_cast<short>(x), y,
                                      static_cast<short>(w), kBoxHeight);
                else
                    dialog.AddControl(RowId(r, c), L"Edit", L"", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE,
                                      static_cast<short>(x), y, static_cast<short>(w), kBoxHeight);
            }
        }
        const short bottom = static_cast<short>(kFirstRowTop + PanelEditorForm::kRows * kRowHeight + 8);
        const std::array<std::tuple<int, int, const char*>, 3> boxes{
            {{kLblHeight, kTxtHeight, "lblHeight"}, {kLblSep, kTxtSep, "lblSepWidth"}, {kLblShift, kTxtShift, "lblShift"}}};
        short x = kMargin;
        for (const auto& [label, box, name] : boxes) {
            dialog.AddControl(label, L"Static", ui::Wide(Caption(name)), SS_RIGHT | SS_NOPREFIX | WS_VISIBLE, 0, x,
                              static_cast<short>(bottom + 2), 40, 8);
            dialog.AddControl(box, L"Edit", L"", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE, static_cast<short>(x + 43),
                              bottom, 24, kBoxHeight);
            x = static_cast<short>(x + 74);
        }
        dialog.AddControl(kCmdUp, L"Button", ui::Wide(Caption("cmdUp")), BS_PUSHBUTTON | tab, 0, 250, bottom - 1, 40,
                          kButtonHeight);
        dialog.AddControl(kCmdDn, L"Button", ui::Wide(Caption("cmdDn")), BS_PUSHBUTTON | tab, 0, 294, bottom - 1, 40,
                          kButtonHeight);
        const short buttonsTop = static_cast<short>(kHeight - kMargin - kButtonHeight);
        const short right = kWidth - kMargin;
        dialog.AddControl(IDOK, L"Button", ui::Wide(Caption("cmdOK")), BS_DEFPUSHBUTTON | tab, 0,
                          static_cast<short>(right - 3 * kButtonWidth - 8), buttonsTop, kButtonWidth, kButtonHeight);
        dialog.AddControl(IDCANCEL, L"Button", ui::Wide(Caption("cmdCancel")), BS_PUSHBUTTON | tab, 0,
                          static_cast<short>(right - 2 * kButtonWidth - 4), buttonsTop, kButtonWidth, kButtonHeight);
        dialog.AddControl(kCmdApply, L"Button", ui::Wide(Caption("cmdApply")), BS_PUSHBUTTON | tab, 0,
                          static_cast<short>(right - kButtonWidth), buttonsTop, kButtonWidth, kButtonHeight);
        ui::RunModalDialog(dialog, owner, &ui::OwnedDialogProc<PanelEditorWindow>, reinterpret_cast<LPARAM>(this));
    }

private:
    friend INT_PTR CALLBACK ui::OwnedDialogProc<PanelEditorWindow>(HWND, UINT, WPARAM, LPARAM) noexcept;

    HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }
    std::string TextOf(int id) const { return ui::Narrow(ui::WindowTextOf(Item(id))); }
    void SetText(int id, const std::string& text) {
        if (TextOf(id) != text) ::SetWindowTextW(Item(id), ui::Wide(text).c_str());
    }
    static std::string* Field(PanelRow& row, int column) {
        switch (column) {
        case kName: return &row.name;
        case kAuthor: return &row.author;
        case kVersion: return &row.version;
        case kWidthBox: return &row.width;
        case kOffset: return &row.offset;
        case kPath: return &row.path;
        default: return nullptr;
        }
    }
    std::string* BoxValue(int id) {
        if (id == kTxtHeight) return &form_.height;
        if (id == kTxtSep) return &form_.sepWidth;
        if (id == kTxtShift) return &form_.shift;
        if (id < RowId(0, 0) || id >= RowId(PanelEditorForm::kRows, 0)) return nullptr;
        return Field(form_.rows[static_cast<std::size_t>((id - 100) / 10)], (id - 100) % 10);
    }

    void ShowAll() {
        syncing_ = true;
        for (int r = 0; r < PanelEditorForm::kRows; ++r) {
            PanelRow& row = form_.rows[static_cast<std::size_t>(r)];
            ::SendMessageW(Item(RowId(r, kUse)), BM_SETCHECK, row.use ? BST_CHECKED : BST_UNCHECKED, 0);
            for (int c = kName; c <= kPath; ++c) SetText(RowId(r, c), *Field(row, c));
        }
        SetText(kTxtHeight, form_.height);
        SetText(kTxtSep, form_.sepWidth);
        SetText(kTxtShift, form_.shift);
        syncing_ = false;
        ShowButtons();
    }
    void ShowButtons() {
        ::EnableWindow(Item(kCmdApply), form_.applyEnabled);
        ::EnableWindow(Item(kCmdUp), form_.upEnabled);
        ::EnableWindow(Item(kCmdDn), form_.dnEnabled);
    }
    void Focus(int id) { ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE); }

    void Opened(HWND hwnd) {
        dialog_ = g_openEditor = hwnd;
        ShowAll();
        form_.Activate();
        ShowButtons();
        Focus(IDOK);
    }

    void ChooseFile(int row) {
        form_.OtherBoxFocused();
        ShowButtons();
        std::wstring folder = ui::Wide(PanelEditorForm::AddonsFolder());
        std::array<wchar_t, MAX_PATH> file{};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = dialog_;
        ofn.lpstrFilter = L"HTML (*.htm;*.html)\0*.htm;*.html\0*.*\0*.*\0";
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrInitialDir = folder.c_str();
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!::GetOpenFileNameW(&ofn)) {
            // No chooser on this system (not a cancel): the path is typed instead.
            if (::CommDlgExtendedError() != 0)
                ::MessageBoxW(dialog_, ui::Wide(LanguageText(kNoFileChooserKey, kNoFileChooserText)).c_str(),
                              ui::Wide(Caption("title")).c_str(), MB_OK);
            return;
        }
        form_.FileChosen(row, ui::Narrow(file.data()));
        ShowAll();
        Focus(RowId(row, kPath));
    }

    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM) {
        return msg == WM_COMMAND ? Command(LOWORD(wParam), HIWORD(wParam)) : FALSE;
    }

    INT_PTR Command(int id, int code) {
        if (id == IDOK) {
            form_.Ok();
            ::EndDialog(dialog_, IDOK);
        } else if (id == IDCANCEL) {
            ::EndDialog(dialog_, IDCANCEL);
        } else if (id == kCmdApply) {
            form_.Apply();
            ShowButtons();
        } else if (id == kCmdUp || id == kCmdDn) {
            if (form_.Move(id == kCmdUp ? -1 : +1)) {
                ShowAll();
                Focus(RowId(form_.selected, kName));
            }
        } else if (id >= RowId(0, 0) && id < RowId(PanelEditorForm::kRows, 0)) {
            const int row = (id - 100) / 10, column = (id - 100) % 10;
            if (column == kUse && code == BN_CLICKED) {
                form_.rows[static_cast<std::size_t>(row)].use =
                    ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
                form_.RowTicked(row);
            } else if (column == kPathButton && code == BN_CLICKED) {
                ChooseFile(row);
            } else {
                return Edit(id, code, column == kName ? row : -1);
            }
            ShowButtons();
        } else {
            return Edit(id, code, -1);
        }
        return TRUE;
    }

    // A text box's notification; nameRow is the row of a name box, else -1.
    INT_PTR Edit(int id, int code, int nameRow) {
        std::string* value = BoxValue(id);
        if (value == nullptr) return FALSE;
        if (code == EN_CHANGE && !syncing_) {
            *value = TextOf(id);
            form_.Changed();
        } else if (code == EN_SETFOCUS) {
            if (nameRow >= 0) form_.NameFocused(nameRow);
            else form_.OtherBoxFocused();
            ::SendMessageW(Item(id), EM_SETSEL, 0, -1);
        } else if (code == EN_KILLFOCUS && (id == kTxtHeight || id == kTxtSep)) {
            if (id == kTxtHeight) form_.ValidateHeight();
            else form_.ValidateSepWidth();
            syncing_ = true;
            SetText(id, *value);
            syncing_ = false;
        } else {
            return FALSE;
        }
        ShowButtons();
        return TRUE;
    }

    PanelEditorForm& form_;
    HWND dialog_ = nullptr;
    bool syncing_ = false;
};

}  // namespace

void OpenPanelEditor() {
    ui::RunOneAtATime(g_openEditor, [] {
        PanelEditorForm form;
        form.Load();
        // Over the options dialog when that opened it, else over the browser.
        HWND owner = ::GetActiveWindow();
        PanelEditorWindow(form).Run(owner != nullptr ? owner : State().MainFrameWnd);
    });
}

}  // namespace tillwick
