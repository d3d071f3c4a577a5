#pragma once
// Bytes as lower-case hex, two digits each: readable in a failure message. Pure; the
// host tests and the fuzzers use it too.
#include <string>

inline std::string HexOf(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}
