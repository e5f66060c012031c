// The program's one exception type: a ready-made English message.
#pragma once

#include <string>

class XVuk {
public:
    // Formats like printf into at most 511 characters; longer texts are cut.
    explicit XVuk(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::string GetMessageText() const { return m_message; }

    static constexpr size_t kMaxLength = 511;

private:
    std::string m_message;
};
