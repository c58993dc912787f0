#include "json/json_writer.h"

#include <cstdio>

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\n') {
            out += "\\n";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += ch;
        }
    }
    out += '"';
}

namespace json {

void Writer::Key(std::string_view key) {
    Item();
    AppendJsonString(out_, key);
    out_ += pretty_ ? ": " : ":";
    afterKey_ = true;
}

void Writer::String(std::string_view text) {
    Item();
    AppendJsonString(out_, text);
}

void Writer::Int(int64_t number) {
    Item();
    out_ += std::to_string(number);
}

void Writer::Bool(bool flag) {
    Item();
    out_ += flag ? "true" : "false";
}

void Writer::Null() {
    Item();
    out_ += "null";
}

void Writer::Raw(std::string_view json) {
    Item();
    out_ += json;
}

void Writer::Item() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (open_.empty()) {
        return;
    }
    Open& open = open_.back();
    if (!open.Empty) {
        out_ += ',';
    }
    if (pretty_ && open.OneLine) {
        if (!open.Empty) {
            out_ += ' ';
        }
    } else if (pretty_) {
        out_ += '\n';
        Indent();
    }
    open.Empty = false;
}

void Writer::Begin(char bracket, bool oneLine) {
    Item();
    out_ += bracket;
    open_.push_back({oneLine || (!open_.empty() && open_.back().OneLine)});
}

void Writer::End(char bracket) {
    const Open open = open_.back();
    open_.pop_back();
    if (pretty_ && !open.OneLine && !open.Empty) {
        out_ += '\n';
        Indent();
    }
    out_ += bracket;
}

void Writer::Indent() {
    out_.append(2 * open_.size(), ' ');
}

}  // namespace json
