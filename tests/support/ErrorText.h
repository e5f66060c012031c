// The message of the XVuk an action raises, or "" when it raises none.
#pragma once

#include "settings/XVuk.h"

#include <functional>
#include <string>

inline std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const XVuk& error) {
        return error.GetMessageText();
    }
    return "";
}
