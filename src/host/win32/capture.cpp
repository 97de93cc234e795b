// Window capture into a bitmap file. The bitmap is copied out of a memory
// device context with GetDIBits and written as a 24-bit BMP by hand (file
// header, info header, bottom-up rows padded to four bytes): no OLE picture
// object is needed, the output does not depend on the display's colour depth,
// and the file is written in one step like every other file of the plugin.
#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/win32/guard.h"

namespace host {

namespace {

class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetWindowDC(hwnd)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) noexcept : dc_(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_ != nullptr) ::DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// Owns a GDI object (bitmap or palette); declared before the DCs that select
// it so that it is deleted after they are gone.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object = nullptr) noexcept : object_(object) {}
    ~GdiObject() {
        if (object_ != nullptr) ::DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    void reset(HGDIOBJ object) noexcept {
        if (object_ != nullptr) ::DeleteObject(object_);
        object_ = object;
    }
    HGDIOBJ get() const noexcept { return object_; }

private:
    HGDIOBJ object_;
};

// On a 256-colour palette display, the system palette, so that the copy keeps its colours.
HPALETTE SystemPaletteOf(HDC dc) {
    if ((::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) == 0 || ::GetDeviceCaps(dc, SIZEPALETTE) != 256)
        return nullptr;
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = 256;
    ::GetSystemPaletteEntries(dc, 0, 256, palette->palPalEntry);
    return ::CreatePalette(palette);
}

template <typename T>
void Append(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

}  // namespace

bool CaptureWindowToBitmapFile(HWND hwnd, int x, int y, int width, int height, const std::string& path) {
    return win32::Guarded(false, [&]() -> bool {
        if (width <= 0 || height <= 0) return false;
        GdiObject bitmap;
        GdiObject palette;
        std::string pixels;
        BITMAPINFO info{};
        {
            WindowDc windowDc(hwnd);
            if (windowDc.get() == nullptr) return false;
            MemoryDc memoryDc(windowDc.get());
            if (memoryDc.get() == nullptr) return false;
            bitmap.reset(::CreateCompatibleBitmap(windowDc.get(), width, height));
            if (bitmap.get() == nullptr) return false;

            HGDIOBJ previousBitmap = ::SelectObject(memoryDc.get(), bitmap.get());
            HPALETTE previousPalette = nullptr;
            palette.reset(SystemPaletteOf(windowDc.get()));
            if (palette.get() != nullptr) {
                previousPalette = ::SelectPalette(memoryDc.get(), static_cast<HPALETTE>(palette.get()), FALSE);
                ::RealizePalette(memoryDc.get());
            }
            BOOL copied = ::BitBlt(memoryDc.get(), 0, 0, width, height, windowDc.get(), x, y, SRCCOPY);
            ::SelectObject(memoryDc.get(), previousBitmap);
            if (!copied) {
                if (previousPalette != nullptr) ::SelectPalette(memoryDc.get(), previousPalette, FALSE);
                return false;
            }

            // GetDIBits wants the bitmap out of every device context; the palette stays for the conversion.
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = height;  // positive: bottom-up rows, as BMP files store them
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 24;
            info.bmiHeader.biCompression = BI_RGB;
            const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
            pixels.assign(stride * static_cast<std::size_t>(height), '\0');
            info.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
            int lines = ::GetDIBits(memoryDc.get(), static_cast<HBITMAP>(bitmap.get()), 0,
                                    static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
            if (previousPalette != nullptr) ::SelectPalette(memoryDc.get(), previousPalette, FALSE);
            if (lines != height) return false;
        }

        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;  // "BM"
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = static_cast<DWORD>(header.bfOffBits + pixels.size());
        std::string file;
        file.reserve(header.bfSize);
        Append(file, header);
        Append(file, info.bmiHeader);
        file += pixels;
        return fs::WriteFileAtomic(path, file);
    });
}

}  // namespace host
