// Writes the pages the plugin generates for a page engine to show, so that a
// real engine (headless Chromium) can render them: write_pages FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "features/address_bar.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_pages FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    // The progress page as the plugin writes it, then the call the plugin makes at 50 %.
    std::ofstream(folder + "/progress-50.html", std::ios::binary)
        << tillwick::ProgressPageText() << "\r\n<script>ShowProgress(50)</script>\r\n";
    return 0;
}
