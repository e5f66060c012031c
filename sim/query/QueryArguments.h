// Command line of modavi-query: CODE [--size N]; numbers decimal or 0x-hex.
#pragma once

#include <cstdint>
#include <string>

struct QueryArguments {
    uint32_t command = 0;
    uint32_t size = 64;
};

// False with a one-line message when the arguments are not understood.
bool ParseQueryArguments(int argc, const char* const* argv, QueryArguments& arguments, std::string& error);

// A whole decimal or 0x-hexadecimal number of 32 bits; nothing else.
bool ParseQueryNumber(const std::string& text, uint32_t& value);
