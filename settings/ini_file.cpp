#include "settings/ini_file.h"

#include <algorithm>
#include <charconv>

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

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct LineSpan {
    size_t End;    // index of the line's end character, or the text's size
    size_t First;  // first character that is not a blank, or End
};

// The line that starts at `start`: where it ends and where its content begins.
LineSpan ScanLine(std::string_view text, size_t start) {
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

}  // namespace

struct IniFile::Data {
    CSimpleIniA Ini{false, true, false};  // plain bytes, duplicate keys kept, no multi-line
    std::string TrailingComments;
    bool Unreadable = false;
};

IniFile::IniFile(std::string path)
    : owned_(std::make_unique<FileStore>(std::move(path))), store_(*owned_) {
    Load();
}

IniFile::IniFile(SettingsStore& store) : store_(store) {
    Load();
}

void IniFile::Load() {
    data_ = std::make_unique<Data>();
    CSimpleIniA& ini = data_->Ini;
    ini.SetMultiKey(true);
    ini.SetSpaces(false);
    ini.SetMultiLine(false);
    ini.SetQuotes(false);

    StoreContents stored = store_.Read();
    if (!stored.Readable) {
        data_->Unreadable = true;
        return;
    }
    std::string& text = stored.Text;
    NeutraliseBrokenLines(text);
    if (ini.LoadData(text.data(), text.size()) < 0) {
        // Out of memory: read nothing, and refuse to replace what we could not read.
        ini.Reset();
        data_->Unreadable = true;
        return;
    }
    data_->TrailingComments = TrailingComments(text);
}

IniFile::~IniFile() = default;

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    const char* value =
        data_->Ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (value == nullptr) {
        return def;
    }
    return ParseIniInteger(value).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
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
        throw EWriteError(store_.Name());
    }
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return data_->Ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr) !=
           nullptr;
}

bool IniFile::HasSection(std::string_view section) const {
    const auto* keys = data_->Ini.GetSection(std::string(section).c_str());
    return keys != nullptr && !keys->empty();
}

std::string IniFile::Text() const {
    std::string out;
    if (data_->Ini.Save(out, true) < 0) {
        throw EWriteError(store_.Name());
    }
    if (!data_->TrailingComments.empty()) {
        if (!out.empty() && out.back() != '\n') {
            out.push_back('\n');
        }
        out += data_->TrailingComments;
    }
    return out;
}

void IniFile::UpdateFile() {
    if (data_->Unreadable) {
        throw EWriteError(store_.Name());
    }
    store_.Replace(Text());
}
