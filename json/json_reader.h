#pragma once

// The strict JSON reader for text that comes from other people (a query file, a page's
// request). It takes exactly RFC 8259 JSON (objects, arrays, strings with every escape,
// numbers, true, false, null; a UTF-8 byte order mark at the start is skipped), checks
// every string is UTF-8, refuses duplicate keys, and bounds the depth of nesting, so that
// no text makes it recurse without bound (the caller bounds the text's size). Every
// refusal is a json::ParseError that says where: the line and column, and the keys of
// the objects being read.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace json {

struct Value {
    enum class Kind : uint8_t { Null, Bool, Number, String, Array, Object };
    Kind Type = Kind::Null;
    bool Flag = false;
    // A number is an integer when it is written without fraction or exponent and fits
    // 64 bits; other numbers are kept only as "not an integer".
    bool Integer = false;
    int64_t Int = 0;
    std::string Text;
    std::vector<Value> Items;       // array elements, or object values
    std::vector<std::string> Keys;  // object keys, beside their values in Items
};

// A refusal. Syntax: the text is no JSON there; what() is "JSON として読めません: <reason>
// (<line> 行 <column> 文字目)". DuplicateKey: an object names a key twice; what() is the
// reason alone, and Path ends with that key.
class ParseError : public std::runtime_error {
public:
    enum class Kind : uint8_t { Syntax, DuplicateKey };

    ParseError(Kind kind, std::string reason, int line, int column, std::vector<std::string> path);

    Kind Fault;
    std::string Reason;
    int Line;    // from 1
    int Column;  // from 1, in characters
    // The keys of the objects being read when reading stopped, outermost first.
    std::vector<std::string> Path;
};

constexpr int kDefaultMaxDepth = 16;

// One JSON text, read whole; objects and arrays nest at most `maxDepth` deep.
Value Parse(std::string_view text, int maxDepth = kDefaultMaxDepth);

// The grammar and the places of refusals are in json_reader.cpp, strings and their
// UTF-8 in json_string.cpp.
class Parser {
public:
    Parser(std::string_view text, int maxDepth) : text_(text), maxDepth_(maxDepth) {}

    Value Document();

private:
    [[noreturn]] void Fail(std::string_view reason) const;
    [[noreturn]] void FailUnexpected() const;
    void SkipBlanks();
    bool Take(std::string_view word);

    Value Read(int depth);
    void Object(Value& value, int depth);
    void Array(Value& value, int depth);
    void Number(Value& value);

    std::string String();
    void Escape(std::string& out);
    uint32_t Escaped();
    uint32_t Hex4();

    std::string_view text_;
    int maxDepth_;
    size_t pos_ = 0;
    std::vector<std::string> path_;
};

}  // namespace json
