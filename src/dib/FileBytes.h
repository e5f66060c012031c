// Reads a whole file into memory: the one file operation the bitmap loader
// needs, with the platform's file calls behind it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class FileReadResult {
    Ok,
    CantOpen,    // the file cannot be opened for reading
    CantGetInfo, // its size cannot be obtained
    OutOfMemory, // no buffer of that size
    ShortRead,   // fewer bytes came than the size promised
};

// `path` is in the system's ANSI code page on Windows. The file is always
// closed again before this returns.
FileReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Files larger than this are not read (no bitmap of this program is).
inline constexpr uint64_t kMaxFileBytes = uint64_t(1) << 30;
