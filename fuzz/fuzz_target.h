// The entry point every target shares: the input is tested on a thread with a
// 1 MB stack, what the browser's main thread has on x86, since libFuzzer's
// own 8 MB would let a recursion too deep for the browser pass unnoticed.
// A target includes this once and defines fuzz::TestOneInput.
#pragma once

#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace fuzz {

void TestOneInput(const std::uint8_t* data, std::size_t size);

inline constexpr std::size_t kStackBytes = 1 << 20;

}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    struct Input {
        const std::uint8_t* data;
        std::size_t size;
    } input{data, size};
    pthread_attr_t attr;
    pthread_t thread;
    if (pthread_attr_init(&attr) != 0 || pthread_attr_setstacksize(&attr, fuzz::kStackBytes) != 0) std::abort();
    const auto run = [](void* p) -> void* {
        const auto* in = static_cast<const Input*>(p);
        fuzz::TestOneInput(in->data, in->size);
        return nullptr;
    };
    if (pthread_create(&thread, &attr, run, &input) != 0 || pthread_join(thread, nullptr) != 0) std::abort();
    pthread_attr_destroy(&attr);
    return 0;
}
