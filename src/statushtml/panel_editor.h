// frmStatusHtml, the panel editor, as a platform-neutral form model: the ten
// rows of the panel list, the strip's height, separator and shift boxes, and
// the logic of the form's events. The view (the Win32 dialog, or a test)
// shows the state, reports the user's actions and asks for the file chooser.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tillwick {

// The meta value `key` of an add-on page ("Addon-Name", "Addon-Width", ...):
// the first "=" after the key up to the tag's end, unquoted; "" when absent.
std::string ReadAddonMeta(std::string_view key, std::string_view html);
// The file name without its folder and without its last ".htm..." ending.
std::string NameFromPath(std::string_view path);

struct PanelRow {
    bool use = false;
    std::string name, author, version, width, offset, path;
};

// The form's control captions: language key, English text.
struct PanelEditorCaption {
    std::string_view control, key, english;
};
inline constexpr std::array<PanelEditorCaption, 10> kPanelEditorCaptions{{
    {"frmStatusHtml", "099", "Html Addons"},
    {"lblHtml", "098",
     "Name                        Author           Version    Width       Top                                 "
     "                       File Path"},
    {"lblHeight", "088", "Height: "},
    {"lblSepWidth", "108", "Separator:"},
    {"lblShift", "128", "Left Shift:"},
    {"cmdUp", "126", "Up"},
    {"cmdDn", "127", "Down"},
    {"cmdOK", "019", "OK"},
    {"cmdCancel", "020", "Cancel"},
    {"cmdApply", "025", "Apply"},
}};
inline constexpr std::string_view kNoFileChooserKey = "129";
inline constexpr std::string_view kNoFileChooserText =
    "Cannot open the find dialog because COMDLG32.OCX is not registered in your system, you can enter the "
    "file path manually.";

class PanelEditorForm {
public:
    static constexpr int kRows = 10;

    std::array<PanelRow, kRows> rows{};
    std::string height, sepWidth, shift;
    bool applyEnabled = false, upEnabled = false, dnEnabled = false;
    int selected = -1;  // the row whose name box last had the focus with text in it

    // ---- the form's events ------------------------------------------------------
    void Load();
    void Activate();  // Apply disabled until the first change
    void Changed();   // a box's text or a row's tick changed
    void RowTicked(int row);
    void NameFocused(int row);
    void OtherBoxFocused();
    // Move the selected row up (-1) or down (+1); the view then focuses its name box.
    bool Move(int direction);
    void ValidateHeight();
    void ValidateSepWidth();
    // The folder the file chooser starts in.
    static std::string AddonsFolder();
    // The chooser gave `file` for row `row`: its path and meta data fill the row.
    void FileChosen(int row, const std::string& file);
    void Save();
    void Apply();
    // OK: saves, restarts the strip when something had changed; the view closes.
    void Ok();

private:
    static void RestartStrip();
    void Correct(std::string& box, const std::string& corrected);
};

}  // namespace tillwick
