#include "search/json_reader.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <utility>

#include "form/form.h"
#include "search/search.h"

// The grammar of the strict reader: values, objects, arrays and numbers, and where a
// refusal stands (the field being read, or the line and column).

namespace search_json {

namespace {

constexpr int kMaxDepth = 16;
// A field name longer than this is cut in messages.
constexpr size_t kMaxShownName = 48;

}  // namespace

// A name from the query (UTF-8) as a JSON string for messages, cut between two characters
// when very long.
std::string ShownName(std::string_view name) {
    std::string shown(name);
    if (name.size() > kMaxShownName) {
        size_t end = kMaxShownName;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
            --end;
        }
        shown = std::string(name.substr(0, end)) + "…";
    }
    std::string out;
    AppendJsonString(out, shown);
    return out;
}

[[noreturn]] void FieldError(std::string_view field, std::string_view message) {
    throw ESearchQueryError(ShownName(field) + ": " + std::string(message));
}

JsonValue Parser::Document() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
        pos_ = 3;
    }
    JsonValue value = Value(0);
    SkipBlanks();
    if (pos_ < text_.size()) {
        Fail("JSON の後に余分な文字があります");
    }
    return value;
}

[[noreturn]] void Parser::Fail(std::string_view reason) const {
    // Line and column (in characters) of the place reading stopped.
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < pos_ && i < text_.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text_[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
    std::string message = "JSON として読めません: " + std::string(reason) + " (" +
                          std::to_string(line) + " 行 " + std::to_string(column) + " 文字目)";
    if (path_.empty()) {
        throw ESearchQueryError(message);
    }
    FieldError(Path(), message);
}

[[noreturn]] void Parser::FailUnexpected() const {
    if (pos_ >= text_.size()) {
        Fail("途中で終わっています");
    }
    const auto byte = static_cast<unsigned char>(text_[pos_]);
    if (byte > 0x20 && byte < 0x7F) {
        Fail("ここに「" + std::string(1, text_[pos_]) + "」は書けません");
    }
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", byte);
    Fail("ここにバイト " + std::string(code) + " は書けません");
}

// The keys of the objects being read, joined by dots ("min.pow").
std::string Parser::Path() const {
    std::string path;
    for (const std::string& key : path_) {
        if (!path.empty()) {
            path += '.';
        }
        path += key;
    }
    return path;
}

void Parser::SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\r')) {
        ++pos_;
    }
}

bool Parser::Take(std::string_view word) {
    if (text_.substr(pos_, word.size()) == word) {
        pos_ += word.size();
        return true;
    }
    return false;
}

JsonValue Parser::Value(int depth) {
    SkipBlanks();
    if (pos_ >= text_.size()) {
        FailUnexpected();
    }
    JsonValue value;
    const char ch = text_[pos_];
    if (ch == '{' || ch == '[') {
        if (depth >= kMaxDepth) {
            Fail("入れ子が深すぎます");
        }
        if (ch == '{') {
            Object(value, depth + 1);
        } else {
            Array(value, depth + 1);
        }
    } else if (ch == '"') {
        value.Type = JsonValue::Kind::String;
        value.Text = String();
    } else if (ch == '-' || (ch >= '0' && ch <= '9')) {
        Number(value);
    } else if (Take("true")) {
        value.Type = JsonValue::Kind::Bool;
        value.Flag = true;
    } else if (Take("false")) {
        value.Type = JsonValue::Kind::Bool;
    } else if (!Take("null")) {
        FailUnexpected();
    }
    return value;
}

void Parser::Object(JsonValue& value, int depth) {
    value.Type = JsonValue::Kind::Object;
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        return;
    }
    while (true) {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != '"') {
            FailUnexpected();
        }
        std::string key = String();
        for (const std::string& earlier : value.Keys) {
            if (earlier == key) {
                path_.push_back(key);
                FieldError(Path(), "項目が 2 回書かれています");
            }
        }
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != ':') {
            FailUnexpected();
        }
        ++pos_;
        path_.push_back(key);
        value.Items.push_back(Value(depth));
        path_.pop_back();
        value.Keys.push_back(std::move(key));
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ',') {
            ++pos_;
        } else if (pos_ < text_.size() && text_[pos_] == '}') {
            ++pos_;
            return;
        } else {
            FailUnexpected();
        }
    }
}

void Parser::Array(JsonValue& value, int depth) {
    value.Type = JsonValue::Kind::Array;
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return;
    }
    while (true) {
        value.Items.push_back(Value(depth));
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ',') {
            ++pos_;
        } else if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return;
        } else {
            FailUnexpected();
        }
    }
}

void Parser::Number(JsonValue& value) {
    value.Type = JsonValue::Kind::Number;
    const size_t start = pos_;
    const auto digits = [this] {
        const size_t from = pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            ++pos_;
        }
        return pos_ - from;
    };
    if (text_[pos_] == '-') {
        ++pos_;
    }
    const size_t intStart = pos_;
    const size_t intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && text_[intStart] == '0')) {
        pos_ = intStart;
        Fail("数値の書き方が正しくありません");
    }
    bool integer = true;
    if (pos_ < text_.size() && text_[pos_] == '.') {
        ++pos_;
        integer = false;
        if (digits() == 0) {
            Fail("数値の書き方が正しくありません");
        }
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        ++pos_;
        integer = false;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
            ++pos_;
        }
        if (digits() == 0) {
            Fail("数値の書き方が正しくありません");
        }
    }
    if (integer) {
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        const auto [end, error] = std::from_chars(first, last, value.Int);
        value.Integer = error == std::errc() && end == last;
    }
}

}  // namespace search_json
