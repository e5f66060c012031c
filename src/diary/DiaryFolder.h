// The folder that holds the line diary, with the platform's file calls
// behind it: whole-file reads, replacing a file by a fully written new one,
// and appending with one flush per write.
#pragma once

#include "diary/LineDiary.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class IDiaryFolder {
public:
    virtual ~IDiaryFolder() = default;
    // The whole file; nothing when it is absent or cannot be read.
    virtual std::optional<std::string> Read(const std::string& name) = 0;
    // Writes `text` to a new file, flushes it, then puts it in the place of
    // `name`. False when any step failed; the old file is then whole.
    virtual bool Replace(const std::string& name, const std::string& text) = 0;
    // Opens `name` for appending, creating the folder and file as needed.
    virtual bool OpenAppend(const std::string& name) = 0;
    // Appends to the opened file and flushes it to the disk.
    virtual bool Append(const std::string& text) = 0;
    // The names of the folder's files; none when it cannot be listed.
    virtual std::vector<std::string> Names() = 0;
    // Where the folder is and what failed last, for the trace message.
    virtual std::string Describe() const = 0;
};

// The folder at `path` (UTF-8), created when the diary is first opened.
std::unique_ptr<IDiaryFolder> MakeDiaryFolder(const std::string& path);
// The user's diary folder: %LOCALAPPDATA%\Modavi on Windows.
std::string UserDiaryFolderPath();
// Now, with the local time's offset.
DiaryTime DiaryNow();
// One line for the trace channel (the debugger's output on Windows).
void DiaryTrace(const std::string& message);
