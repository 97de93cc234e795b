// The options dialog as a platform-neutral form model: every
// control's state and the logic of the form's events (load, activation, page
// switching, the enabling rules, validation, colour choice, Apply, OK, Cancel).
// A view (the Win32 dialog, or a test) shows the state and reports the user's
// actions; it never decides anything itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "options/options_controls.h"
#include "settings/settings_catalogue.h"

namespace tillwick {

struct ControlState {
    std::string text;      // caption, or a box's text
    bool checked = false;  // check box ticked, option button selected
    bool enabled = true;
    COLORREF back = 0;     // Colour labels
    COLORREF fore = 0;
};

// What the model asks of the window that shows it.
class OptionsView {
public:
    virtual ~OptionsView() = default;
    // The control's state changed: show it again.
    virtual void ControlChanged(ControlId id) = 0;
    // Page `page` is now the visible one.
    virtual void PageShown(std::size_t page) = 0;
    virtual void Focus(ControlId id) = 0;
    virtual void SelectAllText(ControlId id) = 0;
    // Close the window (the form is already unloaded).
    virtual void Close() = 0;
    // The window, as owner of message boxes; null when there is none.
    virtual HWND Window() const = 0;
};

class OptionsForm {
public:
    OptionsForm();

    void AttachView(OptionsView* view) noexcept { view_ = view; }
    bool Loaded() const noexcept { return loaded_; }
    std::size_t Page() const noexcept { return page_; }
    const ControlState& Get(ControlId id) const { return controls_.at(id); }
    const ControlState& Get(std::string_view name) const { return Get(ControlOf(name)); }
    // The page list's entries (the frames' captions), in page order.
    const std::vector<std::string>& PageNames() const noexcept { return pageNames_; }
    // The items of a combo box, from the catalogue.
    static std::vector<std::string> ComboItems(ControlId id);

    // ---- the form's events ----------------------------------------------------
    void Load();
    void Activate();
    void SelectPage(std::size_t index);
    // The user ticked or unticked a check box.
    void UserCheck(ControlId id, bool checked);
    // The user selected an option button.
    void UserSelect(ControlId id);
    // The user changed a text box's or combo box's text.
    void UserEdit(ControlId id, std::string text);
    // A command button or colour label was clicked.
    void Click(ControlId id);
    // A text box lost the focus.
    void Validate(ControlId id);
    void GotFocus(ControlId id);
    void KeyDown(int keyCode);
    void Apply();
    // The form closes without writing; the browser's frame is activated again.
    void Unload();

    // The value Apply writes for a setting, from its control.
    std::string ValueOf(Setting id) const;
    // The panel editor saved its list: a shown panel ticks the panels' box,
    // and in any case Apply has something to do.
    void PanelsSaved(bool anyShown);

private:
    friend struct ApplySteps;
    ControlState& At(ControlId id) { return controls_.at(id); }
    ControlState& At(std::string_view name) { return At(ControlOf(name)); }
    bool Ticked(std::string_view name) const { return Get(name).checked; }
    void Changed(ControlId id);
    void MarkChanged();
    void ResetControls();
    void LoadSetting(const SettingRow& row);
    void ShowButtonRule();
    void PickPaletteColour(ControlId id);
    void CheckHotKey(ControlId id);
    void RefreshDiagnostics();

    OptionsView* view_ = nullptr;
    std::vector<ControlState> controls_;
    std::vector<std::string> pageNames_;
    std::size_t page_ = 0;
    bool loaded_ = false;
    bool activatedOnce_ = false;
    std::string hotKeyMessage_;
};

// The dialog's default colours.
inline constexpr COLORREF kDefaultHighlightBack = 12776703;  // 0xC2F4FF, a light yellow

}  // namespace tillwick
