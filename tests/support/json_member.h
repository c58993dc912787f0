#pragma once

// A member of a JSON object read by json::Parse, or a null value where it has none.

#include <string_view>

#include "json/json_reader.h"

inline const json::Value& JsonMember(const json::Value& object, std::string_view key) {
    static const json::Value none;
    for (size_t i = 0; i < object.Keys.size(); ++i) {
        if (object.Keys[i] == key) {
            return object.Items[i];
        }
    }
    return none;
}
