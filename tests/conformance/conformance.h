// Shared pieces of the host-layer conformance suite. The suite is written
// once against host.h and runs on both backends: natively on the simulated
// Windows and under Wine on the real one. It asserts relations, orders and
// return-value conventions, never theme- or font-dependent pixel values.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "support/platform.h"

namespace conformance {

inline constexpr UINT kNoItem = 0xFFFFFFFFu;  // (UINT)-1 from the menu getters

template <class T>
LPARAM Ptr(T* p) {
    return reinterpret_cast<LPARAM>(p);
}

// Registers a window class. On Windows a class outlives the test that
// registered it, so each class name belongs to exactly one procedure.
void EnsureClass(const char* name, WNDPROC proc);

// Windows of kPlainClass log every message (tag 'P') and do the default.
inline constexpr const char* kPlainClass = "TwConfPlain";
HWND CreatePlain(DWORD style, HWND parent = nullptr, int x = 0, int y = 0, int width = 200,
                 int height = 100, const char* title = "", UINT_PTR id = 0);
HWND Create(const char* className, DWORD style, HWND parent, int x, int y, int width, int height,
            const char* title = "", UINT_PTR id = 0, void* param = nullptr);
// A hidden top-level frame to hold controls.
HWND CreateFrame(int width = 400, int height = 300);

std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);

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
// The messages from `candidates` that `hwnd` saw, in order.
std::vector<UINT> SequenceOf(HWND hwnd, const std::vector<UINT>& candidates);

// Every fixture of the suite starts from a clean platform.
class Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::PlatformReset();
        Log().clear();
    }
    void TearDown() override { testsupport::PlatformReset(); }
};

// Kills a thread timer when the test ends, however it ends.
class ThreadTimer {
public:
    explicit ThreadTimer(UINT_PTR id) : id_(id) {}
    ~ThreadTimer() {
        if (id_) host::KillTimer(nullptr, id_);
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    UINT_PTR id() const { return id_; }

private:
    UINT_PTR id_;
};

}  // namespace conformance
