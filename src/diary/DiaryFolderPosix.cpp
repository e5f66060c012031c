// The diary folder on the host, where the unit tests run the recorder
// against real files.
#include "diary/DiaryFolder.h"

#include <cerrno>
#include <dirent.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class CPosixDiaryFolder : public IDiaryFolder {
public:
    explicit CPosixDiaryFolder(std::string path) : m_path(std::move(path)) {}
    ~CPosixDiaryFolder() override
    {
        if (m_fd >= 0)
            close(m_fd);
    }

    std::optional<std::string> Read(const std::string& name) override
    {
        FILE* file = std::fopen(Path(name).c_str(), "rb");
        if (!file)
            return std::nullopt;
        std::string text;
        char buffer[65536];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, got);
        const bool failed = std::ferror(file);
        std::fclose(file);
        return failed ? std::nullopt : std::optional<std::string>(text);
    }

    bool Replace(const std::string& name, const std::string& text) override
    {
        const std::string fresh = Path(name) + ".new";
        const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return Failed();
        const bool written = WriteAll(fd, text) && fsync(fd) == 0;
        close(fd);
        if (!written || std::rename(fresh.c_str(), Path(name).c_str()) != 0) {
            Failed();
            std::remove(fresh.c_str());
            return false;
        }
        return true;
    }

    bool OpenAppend(const std::string& name) override
    {
        mkdir(m_path.c_str(), 0755);
        m_fd = open(Path(name).c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        return m_fd >= 0 || Failed();
    }

    bool Append(const std::string& text) override
    {
        return (m_fd >= 0 && WriteAll(m_fd, text) && fsync(m_fd) == 0) || Failed();
    }

    std::vector<std::string> Names() override
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(m_path.c_str())) {
            while (const dirent* entry = readdir(dir))
                if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN)
                    names.push_back(entry->d_name);
            closedir(dir);
        }
        return names;
    }

    std::string Describe() const override { return m_path + ": " + m_error; }

private:
    std::string Path(const std::string& name) const { return m_path + "/" + name; }
    bool Failed()
    {
        m_error = std::strerror(errno);
        return false;
    }
    static bool WriteAll(int fd, const std::string& text)
    {
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = write(fd, text.data() + done, text.size() - done);
            if (n <= 0)
                return false;
            done += size_t(n);
        }
        return true;
    }

    std::string m_path;
    std::string m_error;
    int m_fd = -1; // owned
};

} // namespace

std::unique_ptr<IDiaryFolder> MakeDiaryFolder(const std::string& path)
{
    return std::make_unique<CPosixDiaryFolder>(path);
}

std::string UserDiaryFolderPath()
{
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.local/share/Modavi";
}

DiaryTime DiaryNow()
{
    const time_t now = std::time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    return {int64_t(now), int(local.tm_gmtoff / 60)};
}

void DiaryTrace(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
}
