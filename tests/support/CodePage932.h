#pragma once
// Code page 932 (Shift-JIS) for the command-line tests: its lead-byte test, and
// characters whose bytes trip a splitter that is not aware of double-byte text.

// Lead bytes 0x81-0x9F and 0xE0-0xFC.
inline bool Cp932Lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// "ソ" 0x83 0x5C, "表" 0x95 0x5C, "能" 0x94 0x5C: the second byte has the code of a
// backslash. "ｱ" 0xB1: a single-byte character of the code page.
#define SO "\x83\x5C"
#define HYO "\x95\x5C"
#define NOU "\x94\x5C"
#define HALF_A "\xB1"
