#pragma once
// The fuzzers' input as the program's texts are: UTF-16 code units, two bytes each (little-endian).

#include <cstddef>
#include <cstdint>
#include <string>

inline std::wstring WideText(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

// A check that must hold whatever the input; a failure stops the fuzzer with the input that broke it.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) __builtin_trap();                                                                  \
    } while (0)
