// Shared pieces of the host-layer conformance suite. The suite is written
// once against host.h and runs on both backends: natively on the simulated
// Windows and under Wine on the real one. It asserts relations, orders and
// return-value conventions, never theme- or font-dependent pixel values.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "support/platform.h"

namespace conformance {

inline constexpr UINT kNoItem = 0xFFFFFFFFu;  // (UINT)-1 from the menu getters

template <class T>
LPARAM Ptr(T* p) {
    return reinterpret_cast<LPARAM>(p);
}

// Registers a window class and gives back its name, to create a window of it
// in the same expression. On Windows a class outlives the test that
// registered it, so each class name belongs to exactly one procedure.
const char* EnsureClass(const char* name, WNDPROC proc);

// Windows of kPlainClass log every message (tag 'P') and do the default.
inline constexpr const char* kPlainClass = "TwConfPlain";
HWND CreatePlain(DWORD style, HWND parent = nullptr, int x = 0, int y = 0, int width = 200,
                 int height = 100, const char* title = "", UINT_PTR id = 0);
HWND Create(const char* className, DWORD style, HWND parent, int x, int y, int width, int height,
            const char* title = "", UINT_PTR id = 0, void* param = nullptr);
// A hidden top-level frame to hold controls.
HWND CreateFrame(int width = 400, int height = 300);

using testsupport::ClassOf;
using testsupport::TextOf;

// A structure with a size and a mask, both filled in.
template <class Info>
Info WithMask(UINT mask) {
    Info info{};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return info;
}

// A rectangle as {left, top, right, bottom} and a point as {x, y}, to compare in one go.
using Edges = std::array<long, 4>;
inline Edges EdgesOf(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
inline std::array<long, 2> XY(const POINT& p) { return {p.x, p.y}; }
// The window's rectangle on screen and its client rectangle; a failed call fails the test.
RECT WindowRectOf(HWND hwnd);
RECT ClientRectOf(HWND hwnd);

// Messages seen by the suite's recording procedures, in order.
struct Seen {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    char who;  // which procedure saw it
};
std::vector<Seen>& Log();
// The procedures that saw `msg`, as a string of their tags, in order.
std::string WhoSaw(UINT msg);
// The messages from `candidates` seen by any window, with that window, in order.
using Order = std::vector<std::pair<HWND, UINT>>;
Order OrderOf(const std::vector<UINT>& candidates);
// The messages from `candidates` that `hwnd` saw, in order.
std::vector<UINT> SequenceOf(HWND hwnd, const std::vector<UINT>& candidates);

// Every fixture of the suite starts from a clean platform. The reset runs in
// the constructor, so that a fixture's members may already create windows.
class Fixture : public ::testing::Test {
protected:
    Fixture() {
        testsupport::PlatformReset();
        Log().clear();
    }
    void TearDown() override { testsupport::PlatformReset(); }
};

// A fixture with a hidden frame to hold controls.
class FrameFixture : public Fixture {
protected:
    HWND frame = CreateFrame();
};

}  // namespace conformance
