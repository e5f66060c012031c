#include "dib/FileBytes.h"

#include <cstdio>
#include <memory>
#include <new>

#include <sys/stat.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

FileReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return FileReadResult::CantOpen;
    struct stat info;
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return FileReadResult::CantGetInfo;
    if (uint64_t(info.st_size) > kMaxFileBytes)
        return FileReadResult::OutOfMemory;
    try {
        bytes.assign(size_t(info.st_size), 0);
    } catch (const std::bad_alloc&) {
        return FileReadResult::OutOfMemory;
    }
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
        return FileReadResult::ShortRead;
    }
    return FileReadResult::Ok;
}
