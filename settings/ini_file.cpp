#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>

#include "engine/errors.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}
bool IsCommentStart(char c) {
    return c == ';' || c == '#';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct TLineSpan {
    size_t End;    // index of the line's end character, or the text's size
    size_t First;  // first character that is not a blank, or End
};

// The line that starts at `start`: where it ends and where its content begins.
TLineSpan ScanLine(std::string_view text, size_t start) {
    size_t end = start;
    while (end < text.size() && !IsLineEnd(text[end])) {
        ++end;
    }
    size_t first = start;
    while (first < end && IsBlank(text[first])) {
        ++first;
    }
    return {end, first};
}

// The parser stops at a NUL byte and would lose everything after it, and a "[" line
// without "]" would take the following lines into a section named after it. A NUL
// becomes a blank, and such a broken header line is blanked out, so it is skipped as
// an empty line and every other line reads as it stands.
void NeutraliseBrokenLines(std::string& text) {
    for (char& c : text) {
        if (c == '\0') {
            c = ' ';
        }
    }
    size_t lineStart = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (lineStart < text.size()) {
        const auto [lineEnd, first] = ScanLine(text, lineStart);
        if (first < lineEnd && text[first] == '[' && text.find(']', first) >= lineEnd) {
            std::fill(text.begin() + static_cast<std::ptrdiff_t>(first),
                      text.begin() + static_cast<std::ptrdiff_t>(lineEnd), ' ');
        }
        lineStart = lineEnd + 1;
    }
}

// Comment lines after the last section or key have nothing to belong to, and the
// parser drops them on save. Returns them (LF line ends) so that a save can append
// them again; empty when the file has no such block or no entry line at all.
std::string TrailingComments(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    size_t tailStart = std::string_view::npos;
    bool anyComment = false;
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        const auto [lineEnd, first] = ScanLine(text, lineStart);
        if (first < lineEnd) {
            if (IsCommentStart(text[first])) {
                anyComment = true;
            } else {
                // The tail starts after this line's end (CR LF, LF or CR).
                tailStart = text.substr(lineEnd).starts_with("\r\n")
                                ? lineEnd + 2
                                : std::min(lineEnd + 1, text.size());
                anyComment = false;
            }
        }
        lineStart = lineEnd + 1;
    }
    if (tailStart == std::string_view::npos || !anyComment) {
        return {};
    }
    std::string tail;
    for (char c : text.substr(tailStart)) {
        if (c != '\r') {
            tail.push_back(c);
        }
    }
    return tail;
}

enum class TReadResult { Read, Missing, Unreadable };

TReadResult ReadWholeFile(const std::string& path, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? TReadResult::Missing
                                                     : TReadResult::Unreadable;
    }
    TReadResult result = TReadResult::Read;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = TReadResult::Unreadable;
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
                result = TReadResult::Unreadable;
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
    if (result != TReadResult::Read) {
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
struct TTempFile {
    std::string Path;
    int Fd = -1;
    bool Renamed = false;

    ~TTempFile() {
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

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;  // the magnitude of INT32_MIN
    int64_t magnitude = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
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
    TTempFile temp;
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

struct TIniFile::TData {
    CSimpleIniA Ini{false, true, false};  // plain bytes, duplicate keys kept, no multi-line
    std::string TrailingComments;
    bool Unreadable = false;
};

TIniFile::TIniFile(std::string path) : path_(std::move(path)), data_(std::make_unique<TData>()) {
    CSimpleIniA& ini = data_->Ini;
    ini.SetMultiKey(true);
    ini.SetSpaces(false);
    ini.SetMultiLine(false);
    ini.SetQuotes(false);

    std::string text;
    const TReadResult read = ReadWholeFile(path_, text);
    if (read == TReadResult::Unreadable) {
        data_->Unreadable = true;
        return;
    }
    NeutraliseBrokenLines(text);
    if (ini.LoadData(text.data(), text.size()) < 0) {
        // Out of memory: read nothing, and refuse to replace what we could not read.
        ini.Reset();
        data_->Unreadable = true;
        return;
    }
    data_->TrailingComments = TrailingComments(text);
}

TIniFile::~TIniFile() = default;

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    const char* value =
        data_->Ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (value == nullptr) {
        return def;
    }
    return ParseIniInteger(value).value_or(def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    CSimpleIniA& ini = data_->Ini;
    const std::string sectionName(section);
    // Replacing a key drops its old entry, so pass the spelling it already has.
    std::string keyName(key);
    if (const auto* keys = ini.GetSection(sectionName.c_str())) {
        const auto it = keys->find(CSimpleIniA::Entry(keyName.c_str()));
        if (it != keys->end()) {
            keyName = it->first.pItem;
        }
    }
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits - 1, value).ptr;
    *end = '\0';
    if (ini.SetValue(sectionName.c_str(), keyName.c_str(), digits, nullptr, true) < 0) {
        throw EWriteError(FullPath(path_));
    }
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
    return data_->Ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr) !=
           nullptr;
}

bool TIniFile::HasSection(std::string_view section) const {
    const auto* keys = data_->Ini.GetSection(std::string(section).c_str());
    return keys != nullptr && !keys->empty();
}

std::string TIniFile::Text() const {
    std::string out;
    if (data_->Ini.Save(out, true) < 0) {
        throw EWriteError(FullPath(path_));
    }
    if (!data_->TrailingComments.empty()) {
        if (!out.empty() && out.back() != '\n') {
            out.push_back('\n');
        }
        out += data_->TrailingComments;
    }
    return out;
}

void TIniFile::UpdateFile() {
    if (data_->Unreadable) {
        throw EWriteError(FullPath(path_));
    }
    WriteFileAtomically(path_, Text());
}
