#include "settings/SettingsRequest.h"

#include "settings/EditableSettings.h"
#include "settings/SettingsKeys.h"
#include "settings/TextUtil.h"

#include <set>
#include <vector>

namespace {

RequestCheck Refuse(const std::string& reason)
{
    RequestCheck check;
    check.reason = reason;
    return check;
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::string FormatSettingsRequest(const SettingChanges& changes)
{
    std::string text = "[" + std::string(Settings::kSection) + "]\r\n";
    for (const SettingChange& change : changes)
        text += change.first + "=" + change.second + "\r\n";
    return text;
}

RequestCheck ParseSettingsRequest(const std::string& text)
{
    if (text.size() > kMaxRequestSize)
        return Refuse("the request is larger than " + std::to_string(kMaxRequestSize) + " bytes");
    if (text.find('\0') != std::string::npos)
        return Refuse("the request holds a zero byte");
    std::vector<std::string> lines;
    SplitString(lines, text, "\r\n"); // blank lines vanish
    if (lines.empty() || lines[0] != "[" + std::string(Settings::kSection) + "]")
        return Refuse("the request does not begin with [SystemInfo]");
    RequestCheck check;
    std::set<std::string> keys;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line[0] == '[')
            return Refuse("a second section: " + line);
        const size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        if (equals == std::string::npos || !IsValidSettingValue(key, line.substr(equals + 1)))
            return Refuse("not a setting the window writes: " + line);
        if (!keys.insert(key).second)
            return Refuse("a key given twice: " + key);
        check.changes.emplace_back(key, line.substr(equals + 1));
    }
    if (check.changes.empty())
        return Refuse("the request changes nothing");
    check.accepted = true;
    return check;
}

bool IsSettingsRequestPath(const std::string& path)
{
    // "X:\" and then names separated by single backslashes.
    if (path.size() < 4 || !((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) ||
        path[1] != ':' || path[2] != '\\')
        return false;
    std::vector<std::string> steps;
    size_t start = 3;
    for (size_t slash; (slash = path.find('\\', start)) != std::string::npos; start = slash + 1)
        steps.push_back(path.substr(start, slash - start));
    const std::string name = path.substr(start);
    for (const std::string& step : steps)
        if (step.empty() || step == "." || step == ".." ||
            step.find_first_of("/:*?\"<>|") != std::string::npos)
            return false;
    for (unsigned char c : path)
        if (c < 32)
            return false;
    // MdS, one to four hex digits, .tmp
    const size_t prefix = sizeof kRequestFilePrefix - 1;
    if (name.size() < prefix + 5 || name.size() > prefix + 8 || !EqualsNoCase(name.substr(0, prefix), kRequestFilePrefix) ||
        !EqualsNoCase(name.substr(name.size() - 4), ".tmp"))
        return false;
    for (size_t i = prefix; i < name.size() - 4; ++i)
        if (!IsHex(name[i]))
            return false;
    return true;
}
