#pragma once

// The JSON reader under the search's query (search/query_json.cpp); not for the faces.
//
// A query comes from other people (a file, a page's request): the reader is our own small
// strict one. It takes exactly RFC 8259 JSON (objects, arrays, strings with every escape,
// numbers, true, false, null; a UTF-8 byte order mark at the start is skipped), checks
// every string is UTF-8, refuses duplicate keys, and bounds the depth of nesting, so that
// no text makes it recurse without bound (the query's reader bounds the text's size).
// Every refusal is an ESearchQueryError whose message says where: the field, and for text
// that is no JSON at all the line and column.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace search_json {

struct JsonValue {
    enum class Kind : uint8_t { Null, Bool, Number, String, Array, Object };
    Kind Type = Kind::Null;
    bool Flag = false;
    // A number is an integer when it is written without fraction or exponent and fits
    // 64 bits; other numbers are kept only as "not an integer".
    bool Integer = false;
    int64_t Int = 0;
    std::string Text;
    std::vector<JsonValue> Items;   // array elements, or object values
    std::vector<std::string> Keys;  // object keys, beside their values in Items
};

// A name from the query (UTF-8) as a JSON string for messages, cut between two characters
// when very long.
std::string ShownName(std::string_view name);

// Throws the ESearchQueryError `"field": message`.
[[noreturn]] void FieldError(std::string_view field, std::string_view message);

// One JSON text, read whole. The grammar and the places of refusals are in
// json_reader.cpp, strings and their UTF-8 in json_string.cpp.
class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document();

private:
    [[noreturn]] void Fail(std::string_view reason) const;
    [[noreturn]] void FailUnexpected() const;
    std::string Path() const;
    void SkipBlanks();
    bool Take(std::string_view word);

    JsonValue Value(int depth);
    void Object(JsonValue& value, int depth);
    void Array(JsonValue& value, int depth);
    void Number(JsonValue& value);

    std::string String();
    void Escape(std::string& out);
    uint32_t Escaped();
    uint32_t Hex4();

    std::string_view text_;
    size_t pos_ = 0;
    std::vector<std::string> path_;
};

}  // namespace search_json
