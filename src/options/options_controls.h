// Every control of the options dialog in one table: its name, kind, page,
// caption (language key and English text) and where it sits. The form model
// takes captions and kinds from it; the Win32 view lays the pages out from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "settings/settings_catalogue.h"

namespace tillwick {

enum class ControlType : std::uint8_t {
    List,     // the page list
    Frame,    // a page's frame, captioned with the page name
    Group,    // a captionless inner frame around the next rows
    Check,
    Option,
    Text,     // one-line text box
    Block,    // a text box on a row of its own
    Combo,    // drop-down list
    Label,
    Colour,   // a label whose back colour is the value
    Command,
};

// Where a control sits on its page.
enum class Flow : std::uint8_t {
    Row,        // starts a new row at `indent`
    Beside,     // on the current row after the previous control; `arg` = width (0: to the margin)
    OverBlank,  // over blank run `arg` of the row's caption (-1: after the caption), `width` when after it
    Block,      // rows of its own below; `arg` = lines (0: down to the bottom of the page)
    Group,      // a frame around the next `arg` rows
    Dialog,     // outside the pages
};

struct ControlDef {
    std::string_view name;
    ControlType type;
    OptionsPage page;
    std::string_view langKey;  // empty: the English caption stays
    std::string_view english;
    Flow flow = Flow::Row;
    std::int8_t indent = 0;
    std::int8_t arg = 0;
    std::int16_t width = 0;  // dialog units, for OverBlank after the caption and Beside
};

using ControlId = std::uint16_t;

std::span<const ControlDef> OptionsControls();
std::optional<ControlId> FindControl(std::string_view name);
// The control of that name; StepError for an unknown name.
ControlId ControlOf(std::string_view name);
const ControlDef& ControlDefOf(ControlId id);

// The frame of each page, in list order, and the language key of its caption.
ControlId PageFrame(std::size_t page);

// Blank runs that leave room for a text box: this many blanks or more.
inline constexpr std::size_t kBlankRunMin = 6;
// The [begin, end) character range of blank run `index` of a caption; nullopt when there is none.
std::optional<std::pair<std::size_t, std::size_t>> BlankRun(std::string_view caption, int index);

}  // namespace tillwick
