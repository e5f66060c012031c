// The one writer of Modavi.ini. Only the changed keys are rewritten (the
// rest of the file stays byte for byte, see EditIniText); the new file is
// written beside the old one and put in its place in one step, so that a
// crash or a full disk leaves the old file or the new one, never a torn
// one; a failure says why and loses nothing.
#pragma once

#include "settings/IniEdit.h"
#include "settings/SettingsFiles.h"

#include <optional>
#include <string>

enum class WriteOutcome {
    Written,           // the file holds the changes
    ChangedUnderneath, // it is not the text it was expected to be: nothing written
    NeedsRights,       // the system refused this user: nothing written
    Failed,            // something else went wrong: nothing written; `error` says what
};

struct SettingsWrite {
    WriteOutcome outcome = WriteOutcome::Failed;
    std::string text;  // Written: the file's new text
    std::string error; // an English message for the "Error" box
};

// The name the new file is written under before it replaces `path`.
std::string PendingSettingsPath(const std::string& path);

// Sets the keys of `changes` in section SystemInfo of the file at `path`.
// With `expected`, the file must still hold exactly that text (what a
// window showed), else nothing is written; without it the changes go into
// what the file holds now, and a missing file is created. No changes:
// nothing is written.
SettingsWrite WriteSettingsFile(ISettingsFiles& files, const std::string& path,
                                const std::optional<std::string>& expected, const SettingChanges& changes);
