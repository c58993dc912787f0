#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "engine/errors.h"
#include "settings/settings_path.h"
#include "settings/settings_store.h"

namespace {

enum class ReadResult { Read, Missing, Unreadable };

ReadResult ReadWholeFile(const std::string& path, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? ReadResult::Missing : ReadResult::Unreadable;
    }
    ReadResult result = ReadResult::Read;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = ReadResult::Unreadable;
    } else {
        out.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        for (;;) {
            if (got == out.size()) {
                out.resize(out.size() + 4096);  // the file grew while we read it
            }
            const ssize_t n = read(fd, out.data() + got, out.size() - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                result = ReadResult::Unreadable;
                break;
            }
            if (n == 0) {
                break;
            }
            got += static_cast<size_t>(n);
        }
        out.resize(got);
    }
    close(fd);
    if (result != ReadResult::Read) {
        out.clear();
    }
    return result;
}

std::string FullPath(const std::string& path) {
    std::error_code ec;
    const auto full = std::filesystem::absolute(path, ec);
    return ec ? path : full.string();
}

// Closes the temporary file and removes it unless it has become the settings file.
struct TempFile {
    std::string Path;
    int Fd = -1;
    bool Renamed = false;

    ~TempFile() {
        if (Fd >= 0) {
            close(Fd);
        }
        if (!Path.empty() && !Renamed) {
            unlink(Path.c_str());
        }
    }
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t chunk = std::min<size_t>(bytes.size(), size_t{1} << 20);
        const ssize_t n = write(fd, bytes.data(), chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

std::string FileStore::Name() const {
    return FullPath(path_);
}

StoreContents FileStore::Read() const {
    StoreContents stored;
    stored.Readable = ReadWholeFile(path_, stored.Text) != ReadResult::Unreadable;
    return stored;
}

void FileStore::Replace(std::string_view text) {
    if (missing_ == MissingFolder::Create) {
        CreateSettingsFolder(path_);
    }
    WriteFileAtomically(path_, text);
}

void MemoryStore::Replace(std::string_view text) {
    if (refuseWrites_) {
        throw EWriteError(name_);
    }
    text_ = text;
    ++writes_;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target(path);
    const std::string base = target.filename().string();
    if (base.empty()) {
        throw EWriteError(FullPath(path));
    }
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }

    // A fresh name beside the target, so that the rename stays within one file system.
    static unsigned serial = 0;
    TempFile temp;
    for (int attempt = 0; attempt < 100 && temp.Fd < 0; ++attempt) {
        temp.Path = (folder / ("." + base + "." + std::to_string(getpid()) + "." +
                               std::to_string(serial++) + ".tmp"))
                        .string();
        temp.Fd = open(temp.Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temp.Fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (temp.Fd < 0) {
        temp.Path.clear();
        throw EWriteError(FullPath(path));
    }

    bool ok = true;
    struct stat old {};
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = fchmod(temp.Fd, old.st_mode & 07777) == 0;  // keep the old file's permissions
    }
    ok = ok && WriteAll(temp.Fd, bytes) && fsync(temp.Fd) == 0;
    const int fd = temp.Fd;
    temp.Fd = -1;
    ok = (close(fd) == 0) && ok;
    if (!ok || rename(temp.Path.c_str(), path.c_str()) != 0) {
        throw EWriteError(FullPath(path));
    }
    temp.Renamed = true;

    // Make the rename itself durable. A file system that cannot sync a folder says
    // EINVAL; anything else is a failed write (the new file is in place, though).
    const int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        throw EWriteError(FullPath(path));
    }
    const bool synced = fsync(dirFd) == 0 || errno == EINVAL;
    close(dirFd);
    if (!synced) {
        throw EWriteError(FullPath(path));
    }
}
