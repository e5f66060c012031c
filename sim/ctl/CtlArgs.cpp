#include "CtlArgs.h"

#include "AdslSimProtocol.h"

#include <cctype>
#include <cstring>

const char* const kCtlUsage =
    "usage: adslsim status | reset | devices usb|pci|both|none"
    " | set CODE [--status N] [--length N] (--dword N | --text STR | --bytes HEX)"
    " | fail CODE | unset CODE | count CODE STEP [--start N] | stats [--clear]";

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void Fail(const std::string& message)
{
    throw UsageError(message);
}

void ExpectCount(const std::vector<std::string>& args, size_t count, const char* usage)
{
    if (args.size() != count)
        Fail(std::string("usage: adslsim ") + usage);
}

// Reads the option value after args[i], advancing i.
const std::string& OptionValue(const std::vector<std::string>& args, size_t& i)
{
    if (i + 1 >= args.size())
        Fail(args[i] + " needs a value");
    return args[++i];
}

CtlCommand ParseSet(const std::vector<std::string>& args)
{
    if (args.size() < 2)
        Fail("usage: adslsim set CODE [--status N] [--length N] (--dword N | --text STR | --bytes HEX)");
    CtlCommand command;
    command.verb = CtlVerb::Set;
    command.code = static_cast<uint16_t>(ParseCtlNumber(args[1], 0xFFFF, "CODE"));
    bool haveStatus = false;
    bool haveLength = false;
    bool haveData = false;
    uint16_t defaultLength = 0;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--status" || option == "--length") {
            bool& seen = option == "--status" ? haveStatus : haveLength;
            if (seen)
                Fail(option + " given twice");
            seen = true;
            uint16_t value = static_cast<uint16_t>(ParseCtlNumber(OptionValue(args, i), 0xFFFF, option.c_str()));
            (option == "--status" ? command.status : command.length) = value;
        } else if (option == "--dword" || option == "--text" || option == "--bytes") {
            if (haveData)
                Fail("give exactly one of --dword, --text, --bytes");
            haveData = true;
            const std::string& value = OptionValue(args, i);
            if (option == "--dword") {
                uint32_t n = ParseCtlNumber(value, 0xFFFFFFFFu, "--dword");
                command.data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
                defaultLength = 4;
            } else if (option == "--text") {
                if (value.size() + 1 > ADSLSIM_MAX_DATA)
                    Fail("--text is longer than " + std::to_string(ADSLSIM_MAX_DATA - 1) + " characters");
                command.data.assign(value.begin(), value.end());
                command.data.push_back(0);
                defaultLength = static_cast<uint16_t>(value.size());
            } else {
                command.data = ParseHexBytes(value);
                defaultLength = static_cast<uint16_t>(command.data.size());
            }
        } else {
            Fail("unknown option for set: " + option);
        }
    }
    if (!haveData)
        Fail("set needs one of --dword, --text, --bytes");
    if (!haveLength)
        command.length = defaultLength;
    return command;
}

CtlCommand ParseCount(const std::vector<std::string>& args)
{
    const char* usage = "usage: adslsim count CODE STEP [--start N]";
    if (args.size() != 3 && args.size() != 5)
        Fail(usage);
    CtlCommand command;
    command.verb = CtlVerb::Count;
    command.code = static_cast<uint16_t>(ParseCtlNumber(args[1], 0xFFFF, "CODE"));
    command.step = ParseCtlNumber(args[2], 0xFFFFFFFFu, "STEP");
    if (args.size() == 5) {
        if (args[3] != "--start")
            Fail(usage);
        command.start = ParseCtlNumber(args[4], 0xFFFFFFFFu, "--start");
    }
    return command;
}

}  // namespace

uint32_t ParseCtlNumber(const std::string& text, uint32_t max, const char* what)
{
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    size_t first = hex ? 2 : 0;
    if (text.size() <= first)
        Fail(std::string(what) + ": not a number: '" + text + "'");
    uint64_t value = 0;
    for (size_t i = first; i < text.size(); ++i) {
        int digit = hex ? HexDigit(text[i]) : (std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : -1);
        if (digit < 0)
            Fail(std::string(what) + ": not a number: '" + text + "'");
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > max)
            Fail(std::string(what) + ": " + text + " is above " + std::to_string(max));
    }
    return static_cast<uint32_t>(value);
}

std::vector<uint8_t> ParseHexBytes(const std::string& text)
{
    std::vector<uint8_t> bytes;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        int high = HexDigit(text[i]);
        int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (high < 0 || low < 0)
            Fail("--bytes: expected pairs of hex digits: '" + text + "'");
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        i += 2;
    }
    if (bytes.size() > ADSLSIM_MAX_DATA)
        Fail("--bytes: more than " + std::to_string(ADSLSIM_MAX_DATA) + " bytes");
    return bytes;
}

CtlCommand ParseCtlArgs(const std::vector<std::string>& args)
{
    if (args.empty())
        Fail(kCtlUsage);
    const std::string& verb = args[0];
    CtlCommand command;
    if (verb == "status") {
        ExpectCount(args, 1, "status");
        command.verb = CtlVerb::Status;
    } else if (verb == "reset") {
        ExpectCount(args, 1, "reset");
        command.verb = CtlVerb::Reset;
    } else if (verb == "devices") {
        ExpectCount(args, 2, "devices usb|pci|both|none");
        command.verb = CtlVerb::Devices;
        const std::string& which = args[1];
        if (which == "usb")
            command.devices = ADSLSIM_DEVICE_USB;
        else if (which == "pci")
            command.devices = ADSLSIM_DEVICE_PCI;
        else if (which == "both")
            command.devices = ADSLSIM_DEVICE_BOTH;
        else if (which == "none")
            command.devices = 0;
        else
            Fail("devices: expected usb, pci, both or none, not '" + which + "'");
    } else if (verb == "set") {
        command = ParseSet(args);
    } else if (verb == "fail" || verb == "unset") {
        ExpectCount(args, 2, verb == "fail" ? "fail CODE" : "unset CODE");
        command.verb = verb == "fail" ? CtlVerb::Fail : CtlVerb::Unset;
        command.code = static_cast<uint16_t>(ParseCtlNumber(args[1], 0xFFFF, "CODE"));
    } else if (verb == "count") {
        command = ParseCount(args);
    } else if (verb == "stats") {
        if (args.size() == 2 && args[1] == "--clear")
            command.clear = true;
        else
            ExpectCount(args, 1, "stats [--clear]");
        command.verb = CtlVerb::Stats;
    } else {
        Fail("unknown command '" + verb + "'; " + kCtlUsage);
    }
    return command;
}
