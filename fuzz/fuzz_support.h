#pragma once

#include "calc/message_sink.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kolmaris::fuzzing {

// Reads fixed-size values off the front of the fuzzer's bytes; missing bytes read as zero.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T> T take() {
        T value{};
        const std::size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    bool empty() const { return size_ == 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Counts the boxes instead of showing them.
class CountingSink : public MessageSink {
public:
    void showMessage(const std::string&, MessageStyle, const std::string&) override { ++count; }
    int count = 0;
};

[[noreturn]] inline void broken(const char* invariant) {
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

} // namespace kolmaris::fuzzing
