// modavi-query CODE [--size N]: sends CODE through the program's own
// requestCommand with a zeroed buffer of N bytes (default 64) and prints the
// answer. Exit 0 when the request was made, 2 on bad arguments, 3 when a
// virtual command raised an error.
#include "QueryArguments.h"

#include "driver/Channel.h"
#include "settings/XVuk.h"
#include "status/AnswerReport.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include <fcntl.h>
#include <io.h>

int main(int argc, char** argv)
{
    // Lines end in "\n" only, so that scripts read them the same everywhere.
    _setmode(_fileno(stdout), _O_BINARY);

    QueryArguments arguments;
    std::string error;
    if (!ParseQueryArguments(argc, argv, arguments, error)) {
        std::fprintf(stderr, "modavi-query: %s (usage: modavi-query CODE [--size N])\n", error.c_str());
        return 2;
    }

    std::vector<uint8_t> buffer;
    try {
        buffer.assign(arguments.size ? arguments.size : 1, 0);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "modavi-query: size %u is too large\n", arguments.size);
        return 2;
    }

    uint16_t status = 0;
    uint16_t length = 0;
    bool failed = false;
    try {
        failed = requestCommand(arguments.command, status, length, buffer.data(), arguments.size);
    } catch (const XVuk& raised) {
        std::printf("error %s\n", raised.GetMessageText().c_str());
        return 3;
    }

    std::string report = ReportAnswer(arguments.command, failed, status, length, buffer.data(), arguments.size);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return 0;
}
