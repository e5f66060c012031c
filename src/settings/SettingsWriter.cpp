#include "settings/SettingsWriter.h"

#include "settings/SettingsKeys.h"

namespace {

SettingsWrite Failed(const std::string& error)
{
    return {WriteOutcome::Failed, std::string(), error};
}

SettingsWrite Refused(const ISettingsFiles::Failure& failure, const std::string& path)
{
    if (failure.accessDenied)
        return {WriteOutcome::NeedsRights, std::string(), "Can't write " + path + ": " + failure.reason};
    return Failed("Can't write " + path + ": " + failure.reason);
}

} // namespace

std::string PendingSettingsPath(const std::string& path)
{
    return path + ".new";
}

SettingsWrite WriteSettingsFile(ISettingsFiles& files, const std::string& path,
                                const std::optional<std::string>& expected, const SettingChanges& changes)
{
    ISettingsFiles::Content content;
    ISettingsFiles::Failure failure;
    if (!files.Read(path, content, failure))
        return Failed("Can't read " + path + ": " + failure.reason);
    if (expected && (!content.exists || content.text != *expected))
        return {WriteOutcome::ChangedUnderneath, std::string(), path + " was changed by someone else"};
    if (changes.empty())
        return {WriteOutcome::Written, content.text, std::string()};
    if (content.readOnly)
        return Failed("Can't write " + path + ": the file is read-only");
    if (content.link)
        return Failed("Can't write " + path + ": it is a link, and the file it leads to is not changed through it");
    if (IsUtf16Text(content.text))
        return Failed("Can't write " + path + ": it is saved as UTF-16; save it as ANSI or UTF-8 to change it here");

    const std::string text = EditIniText(content.text, Settings::kSection, changes);
    const std::string pending = PendingSettingsPath(path);
    files.Remove(pending); // left by a write that was cut short
    if (!files.Create(pending, text, failure) || !files.Replace(path, pending, failure)) {
        files.Remove(pending);
        return Refused(failure, path);
    }
    return {WriteOutcome::Written, text, std::string()};
}
