#pragma once

// Gives a fuzz target's bytes as a NUL-terminated, writable text whose
// buffer is exactly the input's size plus one, so any read past the
// terminator is caught by the address sanitizer.

#include <cstdint>
#include <cstring>
#include <memory>

struct fuzz_text {
    fuzz_text(std::uint8_t const* data, std::size_t size) : bytes(new char[size + 1]) {
        if (size > 0) std::memcpy(bytes.get(), data, size);
        bytes[size] = '\0';
    }
    char* get() { return bytes.get(); }
    std::unique_ptr<char[]> bytes;
};
