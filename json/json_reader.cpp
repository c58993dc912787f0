#include "json/json_reader.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <utility>

// The grammar of the strict reader: values, objects, arrays and numbers, and where a
// refusal stands (the line and column, and the keys being read).

namespace json {

namespace {

// Line and column (in characters, both from 1) of byte `pos` of `text`.
std::pair<int, int> Position(std::string_view text, size_t pos) {
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < pos && i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

std::string Message(ParseError::Kind kind, const std::string& reason, int line, int column) {
    if (kind == ParseError::Kind::DuplicateKey) {
        return reason;
    }
    return "JSON として読めません: " + reason + " (" + std::to_string(line) + " 行 " +
           std::to_string(column) + " 文字目)";
}

}  // namespace

ParseError::ParseError(Kind kind, std::string reason, int line, int column,
                       std::vector<std::string> path)
    : std::runtime_error(Message(kind, reason, line, column)),
      Fault(kind),
      Reason(std::move(reason)),
      Line(line),
      Column(column),
      Path(std::move(path)) {}

Value Parse(std::string_view text, int maxDepth) {
    return Parser(text, maxDepth).Document();
}

Value Parser::Document() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
        pos_ = 3;
    }
    Value value = Read(0);
    SkipBlanks();
    if (pos_ < text_.size()) {
        Fail("JSON の後に余分な文字があります");
    }
    return value;
}

[[noreturn]] void Parser::Fail(std::string_view reason) const {
    const auto [line, column] = Position(text_, pos_);
    throw ParseError(ParseError::Kind::Syntax, std::string(reason), line, column, path_);
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

Value Parser::Read(int depth) {
    SkipBlanks();
    if (pos_ >= text_.size()) {
        FailUnexpected();
    }
    Value value;
    const char ch = text_[pos_];
    if (ch == '{' || ch == '[') {
        if (depth >= maxDepth_) {
            Fail("入れ子が深すぎます");
        }
        if (ch == '{') {
            Object(value, depth + 1);
        } else {
            Array(value, depth + 1);
        }
    } else if (ch == '"') {
        value.Type = Value::Kind::String;
        value.Text = String();
    } else if (ch == '-' || (ch >= '0' && ch <= '9')) {
        Number(value);
    } else if (Take("true")) {
        value.Type = Value::Kind::Bool;
        value.Flag = true;
    } else if (Take("false")) {
        value.Type = Value::Kind::Bool;
    } else if (!Take("null")) {
        FailUnexpected();
    }
    return value;
}

void Parser::Object(Value& value, int depth) {
    value.Type = Value::Kind::Object;
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
        const size_t keyStart = pos_;
        std::string key = String();
        for (const std::string& earlier : value.Keys) {
            if (earlier == key) {
                const auto [line, column] = Position(text_, keyStart);
                std::vector<std::string> path = path_;
                path.push_back(key);
                throw ParseError(ParseError::Kind::DuplicateKey, "項目が 2 回書かれています", line,
                                 column, std::move(path));
            }
        }
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != ':') {
            FailUnexpected();
        }
        ++pos_;
        path_.push_back(key);
        value.Items.push_back(Read(depth));
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

void Parser::Array(Value& value, int depth) {
    value.Type = Value::Kind::Array;
    ++pos_;
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return;
    }
    while (true) {
        value.Items.push_back(Read(depth));
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

void Parser::Number(Value& value) {
    value.Type = Value::Kind::Number;
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

}  // namespace json
