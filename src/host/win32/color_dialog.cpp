// The system colour chooser.
#include "host/host.h"

#include <commdlg.h>

namespace host {

bool ChooseColorDialog(COLORREF initial, const COLORREF (&customColours)[16], COLORREF* chosen) {
    // The dialog writes the user's custom colours back, so it gets a copy.
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) custom[i] = customColours[i];

    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = ::GetActiveWindow();  // modal to whatever window asked
    cc.rgbResult = initial;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT;
    if (!::ChooseColorA(&cc)) return false;
    if (chosen) *chosen = cc.rgbResult;
    return true;
}

}  // namespace host
