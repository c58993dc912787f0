#include <cstdint>
#include <string>

#include "json/json_reader.h"

// Strings of the strict reader: every escape, surrogate pairs taken whole, and the UTF-8
// of the text checked sequence by sequence (no overlong forms, no surrogates, nothing past
// U+10FFFF).

namespace json {

namespace {

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at `pos` (not ASCII), or 0.
size_t Utf8Length(std::string_view text, size_t pos) {
    const auto at = [text, pos](size_t i) {
        return pos + i < text.size() ? static_cast<unsigned char>(text[pos + i]) : 0;
    };
    const unsigned char lead = at(0);
    const auto cont = [&](size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return at(i) >= low && at(i) <= high;
    };
    if (lead >= 0xC2 && lead <= 0xDF) {
        return cont(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        // No overlong forms (E0 below A0) and no surrogates (ED above 9F).
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return cont(1, low, high) && cont(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        // Nothing overlong (F0 below 90) and nothing past U+10FFFF (F4 above 8F).
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return cont(1, low, high) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

}  // namespace

std::string Parser::String() {
    ++pos_;  // the opening quote
    std::string out;
    while (true) {
        if (pos_ >= text_.size()) {
            Fail("文字列が閉じていません");
        }
        const auto byte = static_cast<unsigned char>(text_[pos_]);
        if (byte == '"') {
            ++pos_;
            return out;
        }
        if (byte < 0x20) {
            Fail("文字列の中に制御文字があります (改行は \\n と書いてください)");
        }
        if (byte >= 0x80) {
            const size_t length = Utf8Length(text_, pos_);
            if (length == 0) {
                Fail("UTF-8 として読めないバイトがあります");
            }
            out.append(text_.substr(pos_, length));
            pos_ += length;
            continue;
        }
        ++pos_;
        if (byte != '\\') {
            out += static_cast<char>(byte);
            continue;
        }
        Escape(out);
    }
}

// The escape after a backslash.
void Parser::Escape(std::string& out) {
    if (pos_ >= text_.size()) {
        Fail("文字列が閉じていません");
    }
    const char escape = text_[pos_++];
    switch (escape) {
        case '"':
        case '\\':
        case '/':
            out += escape;
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'u':
            AppendUtf8(out, Escaped());
            break;
        default:
            --pos_;
            Fail("エスケープ「\\" +
                 (static_cast<unsigned char>(escape) > 0x20 &&
                          static_cast<unsigned char>(escape) < 0x7F
                      ? std::string(1, escape)
                      : std::string()) +
                 "」は使えません");
    }
}

// The character of a "\u" escape, a surrogate pair taken whole.
uint32_t Parser::Escaped() {
    const uint32_t code = Hex4();
    if (code >= 0xDC00 && code <= 0xDFFF) {
        Fail("対になっていないサロゲート (\\uDC00 から \\uDFFF) があります");
    }
    if (code < 0xD800 || code > 0xDBFF) {
        return code;
    }
    if (!Take("\\u")) {
        Fail("対になっていないサロゲート (\\uD800 から \\uDBFF) があります");
    }
    const uint32_t low = Hex4();
    if (low < 0xDC00 || low > 0xDFFF) {
        Fail("対になっていないサロゲート (\\uD800 から \\uDBFF) があります");
    }
    return 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
}

// Four hexadecimal digits after "\u".
uint32_t Parser::Hex4() {
    if (text_.size() - pos_ < 4) {
        Fail("\\u の後には 16 進数 4 桁が必要です");
    }
    uint32_t code = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = text_[pos_ + static_cast<size_t>(i)];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            Fail("\\u の後には 16 進数 4 桁が必要です");
        }
        code = code * 16 + digit;
    }
    pos_ += 4;
    return code;
}

}  // namespace json
