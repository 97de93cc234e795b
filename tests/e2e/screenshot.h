// Screenshots of what the end-to-end tests leave on the screen, for a person
// to look at: the whole screen as a 24-bit BMP in the executable's "shots"
// folder (the CTest run converts nothing; `convert x.bmp x.png` does).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/e2e_host.h"

namespace e2e {

inline std::string ShotsFolder() { return ExeFolder() + "shots\\"; }

// Whether the file was written; a failed shot never fails a test by itself.
inline bool SaveScreenshot(const std::string& name) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    if (w <= 0 || h <= 0) return false;
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return false;
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    std::vector<char> pixels(stride * static_cast<std::size_t>(h));
    const int lines = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (lines != h) return false;

    ::CreateDirectoryA(ShotsFolder().c_str(), nullptr);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(ShotsFolder() + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace e2e
