#include "settings/IniEdit.h"

#include "settings/TextUtil.h"

#include <map>
#include <optional>

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// One line: its text [begin, end) without the line end, which runs to next.
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    size_t pos = text.compare(0, 3, kUtf8Mark) == 0 ? 3 : 0; // the mark stays in front of the first line
    while (pos < text.size()) {
        const size_t newline = text.find('\n', pos);
        const size_t next = newline == std::string::npos ? text.size() : newline + 1;
        size_t end = newline == std::string::npos ? text.size() : newline;
        if (end > pos && text[end - 1] == '\r')
            --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The section a header line opens; nothing for other lines.
std::optional<std::string> SectionOf(const std::string& line)
{
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != '[')
        return std::nullopt;
    const size_t close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key a line names: its text up to "=" (the whole line without one).
std::string KeyOf(const std::string& line)
{
    return Trim(line.substr(0, line.find('=')));
}

bool IsKeyLine(const std::string& line)
{
    const std::string key = KeyOf(line);
    return !key.empty() && key[0] != ';' && !SectionOf(line);
}

// The line with a new value: everything up to "=" and the blanks after it as written.
std::string WithValue(const std::string& line, const std::string& value)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return Trim(line) + "=" + value;
    const size_t valueStart = line.find_first_not_of(" \t", equals + 1);
    return line.substr(0, valueStart == std::string::npos ? line.size() : valueStart) + value;
}

std::string LineEndOf(const std::string& text)
{
    const size_t newline = text.find('\n');
    if (newline == std::string::npos || (newline > 0 && text[newline - 1] == '\r'))
        return "\r\n";
    return "\n";
}

} // namespace

bool IsUtf16Text(const std::string& text)
{
    return text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0;
}

std::string EditIniText(const std::string& text, const std::string& section, const SettingChanges& changes)
{
    const std::vector<Line> lines = SplitLines(text);
    auto content = [&](size_t i) { return text.substr(lines[i].begin, lines[i].end - lines[i].begin); };

    // The first section of the name: its header and the line after its last key.
    std::optional<size_t> header;
    size_t afterLastKey = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string> name = SectionOf(content(i));
        if (name && header)
            break;
        if (name && EqualsNoCase(*name, section))
            header = afterLastKey = i + 1;
        else if (header && IsKeyLine(content(i)))
            afterLastKey = i + 1;
    }

    std::map<size_t, std::string> replaced; // line index -> new text
    std::string added;                      // lines for the keys the section lacks
    const std::string lineEnd = LineEndOf(text);
    for (const SettingChange& change : changes) {
        std::optional<size_t> at;
        for (size_t i = header.value_or(0); header && i < afterLastKey && !at; ++i)
            if (IsKeyLine(content(i)) && EqualsNoCase(KeyOf(content(i)), change.first))
                at = i;
        if (at)
            replaced[*at] = WithValue(content(*at), change.second);
        else
            added += change.first + "=" + change.second + lineEnd;
    }
    if (!header && !added.empty())
        added = "[" + section + "]" + lineEnd + added;

    // The text again, line by line; the added lines go after the section's
    // last key, or at the end for a new section.
    const size_t insertAt = header ? afterLastKey : lines.size();
    std::string result = text.substr(0, lines.empty() ? text.size() : lines[0].begin);
    for (size_t i = 0; i <= lines.size(); ++i) {
        if (i == insertAt && !added.empty()) {
            if (i > 0 && lines[i - 1].end == lines[i - 1].next)
                result += lineEnd; // a last line without a line end gets one first
            result += added;
        }
        if (i == lines.size())
            break;
        auto found = replaced.find(i);
        result += found != replaced.end() ? found->second : content(i);
        result += text.substr(lines[i].end, lines[i].next - lines[i].end);
    }
    return result;
}
