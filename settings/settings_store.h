#pragma once

#include <string>
#include <string_view>

// Where the settings text lives: a file on the desktop, the browser's storage on the
// web, memory in tests. An operation reads the whole text once and, when it writes,
// replaces it whole in one step.
struct StoreContents {
    std::string Text;
    // False when something is stored but could not be read: it reads as empty and must
    // never be replaced by what an operation makes of that empty text.
    bool Readable = true;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The name the messages use ("<name> に書き込めません").
    virtual std::string Name() const = 0;
    // The whole stored text; nothing stored reads as an empty text.
    virtual StoreContents Read() const = 0;
    // Replaces the whole text in one step. On failure the old text stays as it was and
    // EWriteError names the store.
    virtual void Replace(std::string_view text) = 0;
};

// A settings file. Replace writes a temporary file in the same folder, checks every
// write, flushes it to disk and renames it over the old file.
class FileStore final : public SettingsStore {
public:
    // What a write does when the file's folder is missing: fail, or create it (the
    // user's configuration folder appears with the first save).
    enum class MissingFolder { Fail, Create };

    explicit FileStore(std::string path, MissingFolder missing = MissingFolder::Fail)
        : path_(std::move(path)), missing_(missing) {}

    const std::string& Path() const { return path_; }
    // The file's full path.
    std::string Name() const override;
    StoreContents Read() const override;
    void Replace(std::string_view text) override;

private:
    std::string path_;
    MissingFolder missing_;
};

// A text held in memory; a store that refuses writes stands for a full or disabled
// storage.
class MemoryStore final : public SettingsStore {
public:
    explicit MemoryStore(std::string name = "memory", std::string text = {})
        : name_(std::move(name)), text_(std::move(text)) {}

    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    void RefuseWrites(bool refuse) { refuseWrites_ = refuse; }
    int Writes() const { return writes_; }

    std::string Name() const override { return name_; }
    StoreContents Read() const override { return {text_, true}; }
    void Replace(std::string_view text) override;

private:
    std::string name_;
    std::string text_;
    bool refuseWrites_ = false;
    int writes_ = 0;
};

// Replaces the file at `path` with `bytes` atomically (see FileStore).
void WriteFileAtomically(const std::string& path, std::string_view bytes);
