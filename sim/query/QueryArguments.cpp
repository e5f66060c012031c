#include "QueryArguments.h"

bool ParseQueryNumber(const std::string& text, uint32_t& value)
{
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    size_t start = hex ? 2 : 0;
    if (text.size() <= start)
        return false;
    uint64_t number = 0;
    for (size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        number = number * (hex ? 16 : 10) + uint64_t(digit);
        if (number > 0xFFFFFFFFull)
            return false;
    }
    value = uint32_t(number);
    return true;
}

bool ParseQueryArguments(int argc, const char* const* argv, QueryArguments& arguments, std::string& error)
{
    bool haveCommand = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--size") {
            if (i + 1 >= argc) {
                error = "--size needs a number";
                return false;
            }
            std::string number = argv[++i];
            if (!ParseQueryNumber(number, arguments.size)) {
                error = "bad size: " + number;
                return false;
            }
        } else if (!haveCommand && !argument.empty() && argument[0] != '-') {
            if (!ParseQueryNumber(argument, arguments.command)) {
                error = "bad command code: " + argument;
                return false;
            }
            haveCommand = true;
        } else {
            error = "unexpected argument: " + argument;
            return false;
        }
    }
    if (!haveCommand) {
        error = "missing command code";
        return false;
    }
    return true;
}
