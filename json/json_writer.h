#pragma once

// Writing JSON: the one string escaper and a writer that places the commas, in one of
// two layouts. Compact: no blank at all, for a page's answers and the form description.
// Pretty: for people, every member of an object and every element of an array on a line
// of its own, indented by two blanks a level, except the arrays and objects begun with
// BeginLine and BeginLineObject (and everything inside them), whose elements stand on one
// line separated by ", ".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// `text` as a JSON string: UTF-8 passes through; quotes, backslashes and control
// characters are escaped ("\r", "\n", the others as "\u00xx").
void AppendJsonString(std::string& out, std::string_view text);

namespace json {

enum class Layout : uint8_t { Compact, Pretty };

class Writer {
public:
    explicit Writer(Layout layout = Layout::Compact) : pretty_(layout == Layout::Pretty) {}

    void BeginObject() { Begin('{', false); }
    void EndObject() { End('}'); }
    void BeginArray() { Begin('[', false); }
    // An array whose elements stand on one line in the pretty layout too.
    void BeginLine() { Begin('[', true); }
    // An object whose members stand on one line in the pretty layout too.
    void BeginLineObject() { Begin('{', true); }
    void EndArray() { End(']'); }

    // The key of the next member of the object being written.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Int(int64_t number);
    void Bool(bool flag);
    void Null();
    // A value already written as JSON by another writer of the same layout.
    void Raw(std::string_view json);

    // A key with its value.
    void Field(std::string_view key, std::string_view text) {
        Key(key);
        String(text);
    }
    void Field(std::string_view key, const char* text) { Field(key, std::string_view(text)); }
    void Field(std::string_view key, const std::string& text) {
        Field(key, std::string_view(text));
    }
    void Field(std::string_view key, int64_t number) {
        Key(key);
        Int(number);
    }
    void Field(std::string_view key, int number) { Field(key, static_cast<int64_t>(number)); }
    void Field(std::string_view key, bool flag) {
        Key(key);
        Bool(flag);
    }

    const std::string& Text() const { return out_; }
    std::string Take() { return std::move(out_); }

private:
    struct Open {
        bool OneLine;
        bool Empty = true;
    };

    // The separator before a value: none after a key, a comma after an earlier element,
    // and in the pretty layout the line break and indent or the blank.
    void Item();
    void Begin(char bracket, bool oneLine);
    void End(char bracket);
    void Indent();

    std::string out_;
    std::vector<Open> open_;
    bool pretty_;
    bool afterKey_ = false;
};

}  // namespace json
