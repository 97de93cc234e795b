// The real capture of a window area into a bitmap file and the offline
// switch, on the Win32 backend.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "host/host.h"
#include "support/exe_folder.h"

namespace {

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST(SpineCaptureWine, WritesABottomUp24BitBitmapOfTheRectangle) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &::DefWindowProcA;  // which erases the window with the class's red brush
    wc.hbrBackground = ::CreateSolidBrush(RGB(255, 0, 0));
    wc.lpszClassName = "SpineCaptureRed";
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowExA(WS_EX_TOPMOST, "SpineCaptureRed", "", WS_POPUP | WS_VISIBLE, 10, 10, 120, 60,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ::UpdateWindow(hwnd);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);

    const std::string path = testsupport::ExeFolder() + "spine_capture_temp1";
    ASSERT_TRUE(host::CaptureWindowToBitmapFile(hwnd, 5, 7, 21, 18, path));
    auto bytes = host::fs::ReadFile(path);
    ASSERT_TRUE(bytes);
    const std::size_t stride = (21 * 3 + 3) & ~std::size_t{3};
    ASSERT_EQ(bytes->size(), 14 + 40 + stride * 18);
    EXPECT_EQ(bytes->substr(0, 2), "BM");
    EXPECT_EQ(At<std::uint32_t>(*bytes, 2), bytes->size());
    EXPECT_EQ(At<std::uint32_t>(*bytes, 10), 54u);
    EXPECT_EQ(At<std::int32_t>(*bytes, 18), 21);
    EXPECT_EQ(At<std::int32_t>(*bytes, 22), 18);
    EXPECT_EQ(At<std::uint16_t>(*bytes, 28), 24);
    // The middle pixel of the slice is the window's red (stored blue, green, red).
    std::size_t pixel = 54 + 9 * stride + 10 * 3;
    EXPECT_EQ(bytes->substr(pixel, 3), std::string("\0\0\xFF", 3));

    EXPECT_FALSE(host::CaptureWindowToBitmapFile(hwnd, 0, 0, 0, 18, path + "x"));
    ::DeleteFileA(path.c_str());
    ::DestroyWindow(hwnd);
}

TEST(SpineCaptureWine, OfflineModeIsAccepted) { EXPECT_TRUE(host::SetOfflineMode()); }

}  // namespace
