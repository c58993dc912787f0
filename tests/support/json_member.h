#pragma once

// Reading the JSON a face writes, in tests.

#include <string_view>

#include "json/json_reader.h"

// The member `key` of an object; null where the object has none (a field written only
// for some queries).
inline const json::Value& Member(const json::Value& object, std::string_view key) {
    static const json::Value none;
    for (size_t i = 0; i < object.Keys.size(); ++i) {
        if (object.Keys[i] == key) {
            return object.Items[i];
        }
    }
    return none;
}
