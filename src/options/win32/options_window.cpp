// The options dialog on Windows: a modal dialog owned by the browser's frame,
// the page list on the left, one frame per page. It only moves values between
// its controls and the form model; the model decides everything.
//
// Text boxes sit over the blank runs of the captions they belong to, measured
// in the dialog's font, so a translated caption still lines up; the caption's
// control gets a window region without the boxes, so neither paints over the other.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/errors.h"
#include "core/state.h"
#include "options/options_dialog.h"
#include "options/win32/dialog_kit.h"

namespace tillwick {
namespace {

// Dialog units.
constexpr short kDialogWidth = 436;
constexpr short kDialogHeight = 262;
constexpr int kMargin = 7;
constexpr int kListWidth = 86;
constexpr int kPageLeft = kMargin + kListWidth + 7;
constexpr int kPageTop = 4;
constexpr int kPageBottom = 230;
constexpr int kPagePadX = 9;
constexpr int kPagePadTop = 13;
constexpr int kRowHeight = 14;
constexpr int kIndent = 11;
constexpr int kGap = 4;
constexpr int kBoxHeight = 12;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kBlockLineHeight = 12;
constexpr int kComboDropHeight = 80;

constexpr int kFirstId = 100;

int IdOf(ControlId id) {
    const std::string_view name = ControlDefOf(id).name;
    if (name == "cmdOK") return IDOK;
    if (name == "cmdCancel") return IDCANCEL;
    return kFirstId + id;
}

struct ClassAndStyle {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

ClassAndStyle ClassFor(const ControlDef& def) {
    constexpr DWORD tab = WS_TABSTOP | WS_GROUP;
    switch (def.type) {
    case ControlType::List:
        return {L"ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlType::Frame:
    case ControlType::Group:
        return {L"Button", BS_GROUPBOX, 0};
    case ControlType::Check:
        return {L"Button", BS_AUTOCHECKBOX | tab, 0};
    case ControlType::Option:
        return {L"Button", BS_AUTORADIOBUTTON, 0};
    case ControlType::Text:
        return {L"Edit", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlType::Block:
        if (def.name == "txtDiagnostic")
            return {L"Edit", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | tab, WS_EX_CLIENTEDGE};
        return {L"Edit", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlType::Combo:
        return {L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case ControlType::Label:
        return {L"Static", SS_LEFT | SS_NOPREFIX, 0};
    case ControlType::Colour:
        return {L"Static", SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_CENTERIMAGE | WS_BORDER, 0};
    case ControlType::Command:
        return {L"Button", (def.name == "cmdOK" ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab, 0};
    }
    return {L"Static", 0, 0};
}

// The open dialog, so that a second call brings it forward instead of opening another.
HWND g_openDialog = nullptr;

class OptionsWindow final : public OptionsView {
public:
    explicit OptionsWindow(OptionsForm& form) : form_(form) {}
    ~OptionsWindow() override { form_.AttachView(nullptr); }

    void Run(HWND owner) {
        ui::DialogTemplate dialog(L"Tillwick", DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  kDialogWidth, kDialogHeight);
        const auto defs = OptionsControls();
        for (ControlId id = 0; id < defs.size(); ++id) {
            const ClassAndStyle cs = ClassFor(defs[id]);
            // The second option of a pair shares the first one's group.
            DWORD style = cs.style;
            if (defs[id].type == ControlType::Option && !SecondOfPair(id)) style |= WS_TABSTOP | WS_GROUP;
            // The pages' controls are shown with their page; the rest from the start.
            if (defs[id].page == OptionsPage::None) style |= WS_VISIBLE;
            dialog.AddControl(static_cast<DWORD>(IdOf(id)), cs.windowClass, ui::Wide(form_.Get(id).text), style,
                              cs.exStyle);
        }
        ui::RunModalDialog(dialog, owner, &ui::OwnedDialogProc<OptionsWindow>, reinterpret_cast<LPARAM>(this));
    }

    HWND Window() const override { return dialog_; }

    void ControlChanged(ControlId id) override {
        HWND wnd = Wnd(id);
        if (wnd == nullptr) return;
        const ControlDef& def = ControlDefOf(id);
        const ControlState& state = form_.Get(id);
        syncing_ = true;
        switch (def.type) {
        case ControlType::Check:
        case ControlType::Option:
            ::SendMessageW(wnd, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlType::Combo:
            ::SendMessageW(wnd, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(ui::Wide(state.text).c_str()));
            break;
        case ControlType::Colour:
            ::InvalidateRect(wnd, nullptr, TRUE);
            [[fallthrough]];
        default:
            if (def.type != ControlType::List && ui::WindowTextOf(wnd) != ui::Wide(state.text))
                ::SetWindowTextW(wnd, ui::Wide(state.text).c_str());
        }
        ::EnableWindow(wnd, state.enabled);
        syncing_ = false;
    }

    void PageShown(std::size_t page) override {
        const auto defs = OptionsControls();
        for (ControlId id = 0; id < defs.size(); ++id) {
            if (defs[id].page == OptionsPage::None) continue;
            ::ShowWindow(Wnd(id), static_cast<std::size_t>(defs[id].page) == page ? SW_SHOWNA : SW_HIDE);
        }
        ::SendMessageW(Wnd(ControlOf("lstTillwick")), LB_SETCURSEL, page, 0);
    }

    void Focus(ControlId id) override {
        if (HWND wnd = Wnd(id)) ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(wnd), TRUE);
    }

    void SelectAllText(ControlId id) override { ::SendMessageW(Wnd(id), EM_SETSEL, 0, -1); }

    void Close() override {
        if (dialog_ != nullptr) ::EndDialog(dialog_, 0);
    }

private:
    bool SecondOfPair(ControlId id) const {
        for (const SettingRow& row : SettingsCatalogue())
            if (row.kind == SettingKind::OptionPair) {
                // The pair's buttons follow each other; the later one is the second.
                const ControlId a = ControlOf(row.control), b = ControlOf(row.otherControl);
                if (id == std::max(a, b)) return true;
            }
        return false;
    }

    HWND Wnd(ControlId id) const { return id < wnds_.size() ? wnds_[id] : nullptr; }

    friend INT_PTR CALLBACK ui::OwnedDialogProc<OptionsWindow>(HWND, UINT, WPARAM, LPARAM) noexcept;

    void Opened(HWND hwnd) {
        dialog_ = g_openDialog = hwnd;
        const auto defs = OptionsControls();
        wnds_.resize(defs.size());
        for (ControlId id = 0; id < defs.size(); ++id) wnds_[id] = ::GetDlgItem(dialog_, IdOf(id));
        HWND list = Wnd(ControlOf("lstTillwick"));
        for (const std::string& name : form_.PageNames())
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ui::Wide(name).c_str()));
        for (ControlId id = 0; id < defs.size(); ++id)
            if (defs[id].type == ControlType::Combo)
                for (const std::string& item : OptionsForm::ComboItems(id))
                    ::SendMessageW(Wnd(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ui::Wide(item).c_str()));
        Layout();
        form_.AttachView(this);
        for (ControlId id = 0; id < defs.size(); ++id) ControlChanged(id);
        form_.Activate();
    }

    // ---- layout -------------------------------------------------------------
    RECT Dlu(int x, int y, int cx, int cy) const {
        RECT r{x, y, x + cx, y + cy};
        ::MapDialogRect(dialog_, &r);
        return r;
    }
    void Place(ControlId id, const RECT& r) {
        ::SetWindowPos(Wnd(id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        placed_[id] = r;
    }

    // A control's width that shows its whole caption.
    int IdealWidth(ControlId id) const {
        const ControlDef& def = ControlDefOf(id);
        const std::wstring caption = ui::Wide(form_.Get(id).text);
        HWND wnd = Wnd(id);
        switch (def.type) {
        case ControlType::Check:
        case ControlType::Option:
            return ui::CaptionOffset(wnd, caption) + ui::TextMeasure(wnd).Width(caption) + 2;
        case ControlType::Label:
            return ui::TextMeasure(wnd).Width(caption) + 2;
        default:
            return ui::DluX(dialog_, 40);
        }
    }

    // Where a caption's text starts within its control.
    int TextStart(ControlId id) const {
        const ControlType type = ControlDefOf(id).type;
        if (type == ControlType::Check || type == ControlType::Option)
            return ui::CaptionOffset(Wnd(id), ui::Wide(form_.Get(id).text));
        return 0;
    }

    void Layout() {
        const auto defs = OptionsControls();
        const RECT client = Dlu(0, 0, kDialogWidth, kDialogHeight);
        // Outside the pages.
        Place(ControlOf("lstTillwick"), Dlu(kMargin, kMargin, kListWidth, kPageBottom - kMargin));
        const int buttonsTop = kPageBottom + 8;
        const int right = kDialogWidth - kMargin;
        Place(ControlOf("cmdApply"), Dlu(right - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight));
        Place(ControlOf("cmdCancel"), Dlu(right - 2 * kButtonWidth - kGap, buttonsTop, kButtonWidth, kButtonHeight));
        Place(ControlOf("cmdOK"), Dlu(right - 3 * kButtonWidth - 2 * kGap, buttonsTop, kButtonWidth, kButtonHeight));
        Place(ControlOf("lblVersion"), Dlu(kMargin, buttonsTop + 3, kListWidth + 60, 8));
        (void)client;

        for (std::size_t page = 0; page < kOptionsPageCount; ++page) LayoutPage(page, defs);
        for (auto& [anchor, boxes] : covered_) CutOut(anchor, boxes);
    }

    void LayoutPage(std::size_t page, std::span<const ControlDef> defs) {
        const int frameRight = kDialogWidth - kMargin;
        Place(PageFrame(page), Dlu(kPageLeft, kPageTop, frameRight - kPageLeft, kPageBottom - kPageTop));
        const RECT content = Dlu(kPageLeft + kPagePadX, kPageTop + kPagePadTop,
                                 frameRight - kPageLeft - 2 * kPagePadX, kPageBottom - kPageTop - kPagePadTop - 6);
        const int rowHeight = ui::DluY(dialog_, kRowHeight);
        int rowTop = content.top - rowHeight;
        int rowRight = content.left;
        ControlId anchor = 0;
        int groupRows = 0;
        ControlId group = 0;
        RECT groupRect{};
        auto centred = [&](int height) { return rowTop + (rowHeight - height) / 2; };
        auto newRow = [&] {
            // The inner frame closes below the last of its rows.
            if (groupRows > 0 && --groupRows == 0) {
                groupRect.bottom = rowTop + rowHeight + ui::DluY(dialog_, 2);
                Place(group, groupRect);
                rowTop += ui::DluY(dialog_, 5);
            }
            rowTop += rowHeight;
        };

        for (ControlId id = 0; id < defs.size(); ++id) {
            const ControlDef& def = defs[id];
            if (static_cast<std::size_t>(def.page) != page || def.type == ControlType::Frame) continue;
            const int indent = content.left + ui::DluX(dialog_, kIndent * def.indent);
            const int boxHeight = ui::DluY(dialog_, kBoxHeight);
            switch (def.flow) {
            case Flow::Row: {
                newRow();
                const int height = def.type == ControlType::Label ? ui::DluY(dialog_, 8) : ui::DluY(dialog_, 10);
                const int width = std::min<int>(IdealWidth(id), content.right - indent);
                const RECT r{indent, centred(height), indent + width, centred(height) + height};
                Place(id, r);
                rowRight = r.right;
                anchor = id;
                break;
            }
            case Flow::Beside: {
                const int left = rowRight + ui::DluX(dialog_, kGap);
                const int width = def.width > 0 ? ui::DluX(dialog_, def.width)
                                  : def.type == ControlType::Label ? IdealWidth(id)
                                                                   : content.right - left;
                const int height = def.type == ControlType::Label ? ui::DluY(dialog_, 8)
                                   : def.type == ControlType::Command ? ui::DluY(dialog_, kButtonHeight)
                                   : def.type == ControlType::Colour ? ui::DluY(dialog_, 11)
                                                                     : boxHeight;
                PlaceBox(id, RECT{left, centred(height), left + width, centred(height) + height});
                rowRight = left + width;
                break;
            }
            case Flow::OverBlank: {
                const std::wstring caption = ui::Wide(form_.Get(anchor).text);
                const ui::TextMeasure measure(Wnd(anchor));
                const int textLeft = placed_[anchor].left + TextStart(anchor);
                const int pad = ui::DluX(dialog_, 2);
                int left, right;
                if (auto run = BlankRun(form_.Get(anchor).text, def.arg); run && def.arg >= 0) {
                    left = textLeft + measure.Width(caption.substr(0, run->first)) + pad;
                    right = textLeft + measure.Width(caption.substr(0, run->second)) - pad;
                } else {
                    left = textLeft + measure.Width(caption) + pad;
                    right = left + ui::DluX(dialog_, def.width > 0 ? def.width : 30);
                }
                // Too short a run in a translation: the box keeps a usable width.
                right = std::max(right, left + ui::DluX(dialog_, 16));
                PlaceBox(id, RECT{left, centred(boxHeight), right, centred(boxHeight) + boxHeight});
                covered_[anchor].push_back(placed_[id]);
                break;
            }
            case Flow::Block: {
                newRow();
                const int height = def.arg > 0 ? ui::DluY(dialog_, kBlockLineHeight * def.arg)
                                               : content.bottom - rowTop;
                const RECT r{indent, rowTop + (def.arg > 0 ? (rowHeight - height) / 2 : 0), content.right,
                             rowTop + (def.arg > 0 ? (rowHeight + height) / 2 : height)};
                Place(id, r);
                if (def.arg > 0) rowTop += std::max(0, height - rowHeight);
                break;
            }
            case Flow::Group:
                // The frame opens above the next row and closes below the last of its rows.
                group = id;
                groupRows = def.arg + 1;
                rowTop += ui::DluY(dialog_, 4);
                groupRect = RECT{indent, rowTop + rowHeight - ui::DluY(dialog_, 3), content.right, 0};
                break;
            case Flow::Dialog:
                break;
            }
        }
    }

    // Boxes: combo boxes get the height of their open list; the closed box keeps its own.
    void PlaceBox(ControlId id, RECT r) {
        if (ControlDefOf(id).type == ControlType::Combo) {
            ::SetWindowPos(Wnd(id), nullptr, r.left, r.top, r.right - r.left, ui::DluY(dialog_, kComboDropHeight),
                           SWP_NOZORDER | SWP_NOACTIVATE);
            RECT closed{};
            ::GetWindowRect(Wnd(id), &closed);
            const int height = closed.bottom - closed.top;
            const int top = (r.top + r.bottom - height) / 2;
            ::SetWindowPos(Wnd(id), nullptr, r.left, top, r.right - r.left, ui::DluY(dialog_, kComboDropHeight),
                           SWP_NOZORDER | SWP_NOACTIVATE);
            placed_[id] = RECT{r.left, top, r.right, top + height};
            return;
        }
        Place(id, r);
    }

    // The caption's control leaves the boxes over it alone: they are cut out of its region.
    void CutOut(ControlId anchor, const std::vector<RECT>& boxes) {
        const RECT& a = placed_[anchor];
        HRGN region = ::CreateRectRgn(0, 0, a.right - a.left, a.bottom - a.top);
        for (const RECT& b : boxes) {
            HRGN box = ::CreateRectRgn(b.left - a.left, b.top - a.top, b.right - a.left, b.bottom - a.top);
            ::CombineRgn(region, region, box, RGN_DIFF);
            ::DeleteObject(box);
        }
        // The window owns the region from here on.
        if (!::SetWindowRgn(Wnd(anchor), region, FALSE)) ::DeleteObject(region);
    }

    // ---- messages -------------------------------------------------------------
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return ColourLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DESTROY:
            for (auto& [id, brush] : brushes_) ::DeleteObject(brush);
            brushes_.clear();
            form_.AttachView(nullptr);
            dialog_ = nullptr;
            return FALSE;
        default:
            return FALSE;
        }
    }

    std::optional<ControlId> ControlFromId(int id) const {
        for (ControlId c = 0; c < wnds_.size(); ++c)
            if (IdOf(c) == id) return c;
        return std::nullopt;
    }

    void Command(int id, int code, HWND wnd) {
        const auto control = ControlFromId(id);
        if (!control || syncing_) return;
        const ControlDef& def = ControlDefOf(*control);
        switch (def.type) {
        case ControlType::List:
            if (code == LBN_SELCHANGE) {
                const LRESULT index = ::SendMessageW(wnd, LB_GETCURSEL, 0, 0);
                if (index >= 0) form_.SelectPage(static_cast<std::size_t>(index));
            }
            break;
        case ControlType::Check:
            if (code == BN_CLICKED)
                form_.UserCheck(*control, ::SendMessageW(wnd, BM_GETCHECK, 0, 0) == BST_CHECKED);
            break;
        case ControlType::Option:
            if (code == BN_CLICKED && ::SendMessageW(wnd, BM_GETCHECK, 0, 0) == BST_CHECKED) form_.UserSelect(*control);
            break;
        case ControlType::Text:
        case ControlType::Block:
            if (code == EN_CHANGE) form_.UserEdit(*control, ui::Narrow(ui::WindowTextOf(wnd)));
            if (code == EN_SETFOCUS) form_.GotFocus(*control);
            if (code == EN_KILLFOCUS) form_.Validate(*control);
            break;
        case ControlType::Combo:
            if (code == CBN_SELCHANGE) form_.UserEdit(*control, ui::Narrow(ui::WindowTextOf(wnd)));
            break;
        case ControlType::Command:
            // Esc and the close box arrive as IDCANCEL: the form closes without writing.
            if (code == BN_CLICKED) form_.Click(*control);
            break;
        case ControlType::Colour:
            if (code == STN_CLICKED) form_.Click(*control);
            break;
        default:
            break;
        }
    }

    INT_PTR ColourLabel(HDC dc, HWND wnd) {
        const auto control = ControlFromId(::GetDlgCtrlID(wnd));
        if (!control || ControlDefOf(*control).type != ControlType::Colour) return FALSE;
        const ControlState& state = form_.Get(*control);
        HBRUSH& brush = brushes_[*control];
        if (brush != nullptr) ::DeleteObject(brush);
        brush = ::CreateSolidBrush(state.back);
        ::SetTextColor(dc, state.fore);
        ::SetBkColor(dc, state.back);
        return reinterpret_cast<INT_PTR>(brush);
    }

    OptionsForm& form_;
    HWND dialog_ = nullptr;
    std::vector<HWND> wnds_;
    std::map<ControlId, RECT> placed_;
    std::map<ControlId, std::vector<RECT>> covered_;
    std::map<ControlId, HBRUSH> brushes_;
    bool syncing_ = false;
};

}  // namespace

void RunOptionsWindow(OptionsForm& form) {
    ui::RunOneAtATime(g_openDialog, [&] {
        if (!form.Loaded()) form.Load();
        OptionsWindow(form).Run(State().MainFrameWnd);
    });
}

}  // namespace tillwick
