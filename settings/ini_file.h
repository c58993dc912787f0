#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The integer rule of the settings file: blanks around the number are ignored, an
// optional sign, then decimal digits or hexadecimal digits after "0x" or "$". Anything
// else, or a number outside signed 32 bits, is not an integer (nullopt).
std::optional<int32_t> ParseIniInteger(std::string_view text);

// One settings file, read into memory once when it is constructed. Section and key
// names match without regard to case; of duplicate keys the first one counts. Writes
// change only the copy in memory; UpdateFile puts it back on disk in one atomic step.
// A missing file reads as an empty one. A file that exists but cannot be read also
// reads as empty, but is never overwritten: UpdateFile then reports a failed write.
class TIniFile {
public:
    explicit TIniFile(std::string path);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& Path() const { return path_; }

    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    // Read as an integer with default 1 or 0; non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // An existing key gets the new value where it stands and keeps its spelling; a new
    // key goes to the end of its section, a new section to the end of the file.
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    bool HasKey(std::string_view section, std::string_view key) const;
    // The section exists and holds at least one key.
    bool HasSection(std::string_view section) const;

    // The whole file as it would be written now.
    std::string Text() const;
    // Writes the file back: a temporary file in the same folder, every write checked,
    // flushed to disk and renamed over the old file. On any failure the old file stays
    // as it was and EWriteError names the file's full path.
    void UpdateFile();

private:
    struct TData;
    std::string path_;
    std::unique_ptr<TData> data_;
};

// Replaces the file at `path` with `bytes` atomically (see TIniFile::UpdateFile).
void WriteFileAtomically(const std::string& path, std::string_view bytes);
