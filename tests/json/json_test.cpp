#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "json/json_reader.h"
#include "json/json_writer.h"

// The reader reads back whatever the writer writes, in both layouts, and every refusal
// stands where the fault is.

namespace {

using json::Value;

// A random UTF-8 string: ASCII with quotes, backslashes and control characters, and
// characters of two, three and four bytes.
std::string RandomText(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {
        "a",    "Z",    "0", " ", "\"", "\\", "/",  "\n", "\r", "\t", std::string(1, '\0'), "\x01",
        "\x1f", "\x7f", "é", "ß", "パ", "ワ", "ー", "…",  "→",  "😀",  "\xF4\x8F\xBF\xBF"};
    std::string text;
    const int length = static_cast<int>(rng() % 8);
    for (int i = 0; i < length; ++i) {
        text += pieces[rng() % pieces.size()];
    }
    return text;
}

Value RandomValue(std::mt19937& rng, int depth) {
    Value v;
    const int kind = static_cast<int>(rng() % (depth < 5 ? 6 : 4));
    switch (kind) {
        case 0:
            v.Type = Value::Kind::Null;
            break;
        case 1:
            v.Type = Value::Kind::Bool;
            v.Flag = rng() % 2 == 0;
            break;
        case 2: {
            v.Type = Value::Kind::Number;
            v.Integer = true;
            const int64_t magnitude = static_cast<int64_t>(rng()) << (rng() % 32);
            v.Int = rng() % 2 == 0 ? magnitude : -magnitude;
            break;
        }
        case 3:
            v.Type = Value::Kind::String;
            v.Text = RandomText(rng);
            break;
        default: {
            v.Type = kind == 4 ? Value::Kind::Array : Value::Kind::Object;
            const int count = static_cast<int>(rng() % 5);
            for (int i = 0; i < count; ++i) {
                v.Items.push_back(RandomValue(rng, depth + 1));
                if (v.Type == Value::Kind::Object) {
                    v.Keys.push_back("k" + std::to_string(i) + RandomText(rng));
                }
            }
        }
    }
    return v;
}

// Arrays of scalars go on one line, as an answer writes them.
void Write(json::Writer& out, const Value& v) {
    switch (v.Type) {
        case Value::Kind::Null:
            out.Null();
            break;
        case Value::Kind::Bool:
            out.Bool(v.Flag);
            break;
        case Value::Kind::Number:
            out.Int(v.Int);
            break;
        case Value::Kind::String:
            out.String(v.Text);
            break;
        case Value::Kind::Array: {
            bool scalars = true;
            for (const Value& item : v.Items) {
                scalars =
                    scalars && item.Type != Value::Kind::Array && item.Type != Value::Kind::Object;
            }
            scalars ? out.BeginLine() : out.BeginArray();
            for (const Value& item : v.Items) {
                Write(out, item);
            }
            out.EndArray();
            break;
        }
        case Value::Kind::Object:
            out.BeginObject();
            for (size_t i = 0; i < v.Items.size(); ++i) {
                out.Key(v.Keys[i]);
                Write(out, v.Items[i]);
            }
            out.EndObject();
            break;
    }
}

std::string Written(const Value& v, json::Layout layout) {
    json::Writer out(layout);
    Write(out, v);
    return out.Text();
}

// The writer's text of what the reader read is the text read: a value lost, retyped or
// re-encoded on either side shows as a difference.
TEST(Json, ReadsBackWhatItWritesInBothLayouts) {
    std::mt19937 rng(5);
    for (int round = 0; round < 2000; ++round) {
        const Value value = RandomValue(rng, 0);
        for (const json::Layout layout : {json::Layout::Compact, json::Layout::Pretty}) {
            const std::string text = Written(value, layout);
            const Value read = json::Parse(text);
            EXPECT_EQ(Written(read, layout), text);
            EXPECT_TRUE(read.Type != Value::Kind::Number || read.Integer) << text;
        }
    }
}

// Line and column of byte `at` of `text`, counted in characters.
std::pair<int, int> PlaceOf(const std::string& text, size_t at) {
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < at; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

TEST(Json, SyntaxErrorsSayTheLineAndColumnOfTheFault) {
    std::mt19937 rng(9);
    for (int round = 0; round < 1000; ++round) {
        std::string text = Written(RandomValue(rng, 0), json::Layout::Pretty);
        // A stray character at the start of a random line, before its first token (or
        // after the whole text): everything before it is a valid beginning.
        std::vector<size_t> starts = {0, text.size()};
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                starts.push_back(text.find_first_not_of(' ', i + 1));
            }
        }
        const size_t at = starts[rng() % starts.size()];
        text = text.substr(0, at) + '#' + text.substr(at);
        const auto [line, column] = PlaceOf(text, at);
        try {
            json::Parse(text);
            ADD_FAILURE() << text;
        } catch (const json::ParseError& error) {
            EXPECT_EQ(error.Fault, json::ParseError::Kind::Syntax);
            EXPECT_EQ(error.Line, line) << text;
            EXPECT_EQ(error.Column, column) << text;
            const std::string reason = at == text.size() - 1 ? "JSON の後に余分な文字があります"
                                                             : "ここに「#」は書けません";
            EXPECT_EQ(error.what(), "JSON として読めません: " + reason + " (" +
                                        std::to_string(line) + " 行 " + std::to_string(column) +
                                        " 文字目)");
        }
    }
}

TEST(Json, RefusalsNameTheKeysBeingRead) {
    const auto refusal = [](const std::string& text) {
        try {
            json::Parse(text, 3);
        } catch (const json::ParseError& error) {
            return error;
        }
        ADD_FAILURE() << text;
        return json::ParseError(json::ParseError::Kind::Syntax, "", 0, 0, {});
    };
    const json::ParseError twice = refusal("{\"a\": {\"b\": 1,\n \"b\": 2}}");
    EXPECT_EQ(twice.Fault, json::ParseError::Kind::DuplicateKey);
    EXPECT_EQ(twice.Path, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(std::string(twice.what()), "項目が 2 回書かれています");
    EXPECT_EQ(twice.Line, 2);
    EXPECT_EQ(twice.Column, 2);

    const json::ParseError deep = refusal("{\"a\": [[{}]]}");
    EXPECT_EQ(deep.Reason, "入れ子が深すぎます");
    EXPECT_EQ(deep.Path, std::vector<std::string>{"a"});
    EXPECT_EQ(deep.Column, 9);
    EXPECT_NO_THROW(json::Parse("{\"a\": [[1]]}", 3));

    const json::ParseError broken = refusal("[\"\xC3\"]");
    EXPECT_EQ(broken.Reason, "UTF-8 として読めないバイトがあります");
    EXPECT_TRUE(broken.Path.empty());
}

// What lenient readers let pass is refused.
TEST(Json, OnlyStrictJsonIsRead) {
    // clang-format off
    for (const std::string text : {
        "", "{", "[5] x", "{'a': 5}", "{a: 5}", "[5 // 5\n]", "[+5]", "[05]", "[.5]", "[5.]", "[0x5]",
        "[1e]", "[NaN]", "[True]", "[\"a\",]", "[\"a\" \"b\"]", "[\"a\tb\"]", "[\"\\x41\"]",
        "[\"\\u12\"]", "[\"\\uD800\"]", "[\"\\uDC00\\uD800\"]", "[\"\\uD800\\u0041\"]",
        "[\"\xC0\x80\"]", "[\"\xE0\x80\x80\"]", "[\"\xED\xA0\x80\"]", "[\"\xF4\x90\x80\x80\"]",
        "[\"\xE3\x81\"]", "[\"\xFF\"]", "\xEF\xBB\xBF\xEF\xBB\xBF{}"}) {
        // clang-format on
        EXPECT_THROW(json::Parse(text), json::ParseError) << text;
    }
}

}  // namespace
