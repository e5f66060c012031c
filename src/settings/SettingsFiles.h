// The seam under the settings writer: the few file operations it needs.
// The Win32 build does them with the system's file calls; tests put a fake
// in place that can refuse or fail any of them.
#pragma once

#include <string>

class ISettingsFiles {
public:
    struct Content {
        bool exists = false;
        std::string text;
        bool readOnly = false; // the file's read-only attribute
        bool link = false;     // a symbolic link, junction or hard link with other names
    };
    // Why an operation failed, in the system's words.
    struct Failure {
        bool accessDenied = false; // the system's permissions refused it
        std::string reason;
    };

    virtual ~ISettingsFiles() = default;
    // The file's bytes and attributes (`exists` false when there is none);
    // false when it exists but cannot be read.
    virtual bool Read(const std::string& path, Content& content, Failure& failure) = 0;
    // Creates `path` (failing when something is there), writes `text` whole
    // and flushes it to the disk. A failure may leave a part written.
    virtual bool Create(const std::string& path, const std::string& text, Failure& failure) = 0;
    // Puts `replacement` in the place of `target` in one step.
    virtual bool Replace(const std::string& target, const std::string& replacement, Failure& failure) = 0;
    virtual void Remove(const std::string& path) = 0;
    // True when this user lacks the rights to write the file or to create
    // one beside it (an installed copy for a standard user).
    virtual bool NeedsRights(const std::string& path) = 0;
};

// The system's file calls (Win32 build). Paths are UTF-8.
ISettingsFiles& PlatformSettingsFiles();
