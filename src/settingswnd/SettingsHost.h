// What the Settings window asks of the application: a preview of colours
// on an open skinned window, and the effect of the keys it wrote.
#pragma once

#include "settings/SkinColours.h"

#include <string>
#include <vector>

class ISettingsHost {
public:
    // Draws an open skinned window with these colours; null: as the file says again.
    virtual void PreviewSkinColours(const SkinColours* colours) = 0;
    // The keys just written take effect where the program reads them at use:
    // another presentation replaces an open status window, the tray icon
    // comes or goes, the line diary starts or stops.
    virtual void SettingsWritten(const std::vector<std::string>& keys) = 0;
    // The language the program runs in, lower-case; may be empty.
    virtual std::string GetLanguageName() const = 0;

protected:
    ~ISettingsHost() = default;
};
