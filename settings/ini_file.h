#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

// The integer rule of the settings file: blanks around the number are ignored, an
// optional sign, then decimal digits or hexadecimal digits after "0x" or "$". Anything
// else, or a number outside signed 32 bits, is not an integer (nullopt).
std::optional<int32_t> ParseIniInteger(std::string_view text);

// One settings text, read from its store into memory once when it is constructed.
// Section and key names match without regard to case; of duplicate keys the first one
// counts. Writes change only the copy in memory; UpdateFile puts it back into the store
// in one step. Nothing stored reads as an empty text. A text that is stored but cannot
// be read also reads as empty, but is never replaced: UpdateFile then reports a failed
// write.
class IniFile {
public:
    // The settings file at `path`.
    explicit IniFile(std::string path);
    explicit IniFile(SettingsStore& store);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    // Read as an integer with default 1 or 0; non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // An existing key gets the new value where it stands and keeps its spelling; a new
    // key goes to the end of its section, a new section to the end of the file.
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    bool HasKey(std::string_view section, std::string_view key) const;
    // The section exists and holds at least one key.
    bool HasSection(std::string_view section) const;

    // The whole text as it would be written now.
    std::string Text() const;
    // Replaces the stored text with Text(). On any failure the stored text stays as it
    // was and EWriteError names the store.
    void UpdateFile();

private:
    struct Data;
    void Load();

    std::unique_ptr<SettingsStore> owned_;
    SettingsStore& store_;
    std::unique_ptr<Data> data_;
};
