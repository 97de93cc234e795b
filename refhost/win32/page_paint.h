// Paints the page area of the reference host's tabs with GDI: the page's
// title and address, and whether a plugin object is attached, so that a
// screenshot shows which page each tab holds.
#pragma once

#include "refhost/host.h"

namespace refhost::win32 {

// Gives every page window of `host` that has none yet the painting subclass
// and repaints them all; call after tabs open or pages load. The subclass
// removes itself when its window is destroyed.
void PaintPages(Host& host);

}  // namespace refhost::win32
