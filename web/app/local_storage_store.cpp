#include "local_storage_store.h"

#include <emscripten/emscripten.h>

#include <cstdlib>

#include "engine/errors.h"

namespace {

// clang-format off
// Reads the key's text into a buffer from malloc; *state is 0 (read), 1 (nothing
// stored) or 2 (the storage cannot be reached).
EM_JS(char*, KestrelStorageGet, (const char* key, int* length, int* state), {
    var text;
    try {
        text = window.localStorage.getItem(UTF8ToString(key));
    } catch (e) {
        HEAP32[state >> 2] = 2;
        return 0;
    }
    if (text === null) {
        HEAP32[state >> 2] = 1;
        return 0;
    }
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) {
        var code = text.charCodeAt(i);
        if (code > 255) {
            // Not written by us: taken as UTF-8 text.
            bytes = new TextEncoder().encode(text);
            break;
        }
        bytes[i] = code;
    }
    var buffer = _malloc(bytes.length + 1);
    HEAPU8.set(bytes, buffer);
    HEAP32[length >> 2] = bytes.length;
    HEAP32[state >> 2] = 0;
    return buffer;
});

// Stores the bytes as the key's text; 1 when the storage took it.
EM_JS(int, KestrelStorageSet, (const char* key, const char* bytes, int length), {
    var parts = [];
    for (var i = 0; i < length; i += 8192) {
        parts.push(String.fromCharCode.apply(null,
            HEAPU8.subarray(bytes + i, bytes + Math.min(i + 8192, length))));
    }
    try {
        window.localStorage.setItem(UTF8ToString(key), parts.join(""));
        return 1;
    } catch (e) {
        return 0;
    }
});
// clang-format on

}  // namespace

StoreContents LocalStorageStore::Read() const {
    int length = 0;
    int state = 0;
    char* buffer = KestrelStorageGet(key_.c_str(), &length, &state);
    if (state == 1) {
        return {};
    }
    if (state == 2) {
        return {std::string(), false};
    }
    std::string text(buffer, static_cast<size_t>(length));
    std::free(buffer);
    return {std::move(text), true};
}

void LocalStorageStore::Replace(std::string_view text) {
    if (KestrelStorageSet(key_.c_str(), text.data(), static_cast<int>(text.size())) != 1) {
        throw EWriteError(Name());
    }
}
