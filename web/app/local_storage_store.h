#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"

// The settings text in the browser's local storage, under one key, as the same bytes a
// settings file holds: each byte is stored as one character of the same code (0..255),
// so a text in any encoding comes back unchanged. A storage that cannot be reached
// (disabled by the user or the browser) reads as unreadable, so nothing replaces it; a
// write that the storage refuses (full, disabled) reports EWriteError and leaves the
// stored text as it was.
class LocalStorageStore final : public SettingsStore {
public:
    explicit LocalStorageStore(std::string key) : key_(std::move(key)) {}

    // The key, which is also the name the messages use.
    std::string Name() const override { return key_; }
    StoreContents Read() const override;
    void Replace(std::string_view text) override;

private:
    std::string key_;
};
