#pragma once
// The properties the fuzzers check, one function a target. Each takes the fuzzer's
// bytes and returns what it found broken ("" when every property held), so that the
// inputs a fuzzer finds replay as plain regression tests too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The command-line splitter and the option parser. The first byte picks the lead-byte
// rule (odd: code page 932, even: none); the rest is a list of arguments separated by
// NUL bytes. Quoting the list by the documented rules and splitting the result must
// give the list back; the key path is the last plain argument; the switches are those
// the arguments name. The raw bytes as one command line must split without any read or
// write out of bounds, the last-argument flag on the final argument only.
std::string CheckCommandLine(const uint8_t* data, std::size_t size);

// The once-a-day rule over two arbitrary doubles (the first 16 bytes): no undefined
// behaviour, and due whenever no day count exists.
std::string CheckDayRule(const uint8_t* data, std::size_t size);

// The version-code mapping over an arbitrary version record (the first 156 bytes) and
// R2 answer (the next 4): always one of the 28 codes, the R2 answer asked exactly for
// a non-workstation reporting 5.2, and the same code whatever the fields that carry no
// behaviour (the service-pack text among them) hold.
std::string CheckVersionCode(const uint8_t* data, std::size_t size);

// Helpers the properties are built on, for the regression tests.
using LeadByteRule = bool (*)(unsigned char byte);
bool Cp932LeadByte(unsigned char byte);
// One argument as the splitter reads it back: in double quotes, a quote escaped with a
// backslash, backslashes before a quote (or the closing one) doubled, double-byte
// characters copied whole.
std::string QuoteArgument(const std::string& argument, LeadByteRule isLeadByte);
// A program name and the quoted arguments, separated by spaces.
std::string QuoteCommandLine(const std::vector<std::string>& arguments, LeadByteRule isLeadByte);
