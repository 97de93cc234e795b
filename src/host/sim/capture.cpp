// The sim has no pixels: a capture writes a placeholder file that names what
// was captured, so that tests can tell which window and rectangle were asked for.
#include <string>

#include "host/host.h"

namespace host {

bool CaptureWindowToBitmapFile(HWND hwnd, int x, int y, int width, int height, const std::string& path) {
    if (!IsWindow(hwnd) || width <= 0 || height <= 0) return false;
    std::string content = "SIM-CAPTURE x=" + std::to_string(x) + " y=" + std::to_string(y) +
                          " width=" + std::to_string(width) + " height=" + std::to_string(height) + "\n";
    return fs::WriteFileAtomic(path, content);
}

}  // namespace host
