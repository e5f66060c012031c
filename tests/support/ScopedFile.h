// A file written (or, with no content, removed) for the length of a test;
// what was there before is put back afterwards.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

class ScopedFile {
public:
    ScopedFile(std::string path, const std::string* content) : m_path(std::move(path))
    {
        std::ifstream old(m_path, std::ios::binary);
        if (old) {
            m_hadOld = true;
            m_old.assign(std::istreambuf_iterator<char>(old), {});
        }
        old.close();
        if (content)
            std::ofstream(m_path, std::ios::binary | std::ios::trunc) << *content;
        else
            DeleteFileA(m_path.c_str());
    }
    ScopedFile(std::string path, const std::string& content) : ScopedFile(std::move(path), &content) {}
    ~ScopedFile()
    {
        if (m_hadOld)
            std::ofstream(m_path, std::ios::binary | std::ios::trunc) << m_old;
        else
            DeleteFileA(m_path.c_str());
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    bool m_hadOld = false;
    std::string m_old;
};

// The program's settings file body with the given lines.
inline std::string SettingsText(const std::string& lines) { return "[SystemInfo]\r\n" + lines; }
