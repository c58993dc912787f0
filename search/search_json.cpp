#include "search/search_json.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "form/form.h"

// A query comes from other people (a file, a page's request): the reader is our own small
// strict one. It takes exactly RFC 8259 JSON (objects, arrays, strings with every escape,
// numbers, true, false, null; a UTF-8 byte order mark at the start is skipped), checks
// every string is UTF-8, refuses duplicate keys, and bounds the size of the text and the
// depth of nesting, so that no text makes it recurse or allocate without bound. Every
// refusal is an ESearchQueryError whose message says where: the field, and for text that
// is no JSON at all the line and column.

namespace {

constexpr size_t kMaxQueryBytes = 64 * 1024;
constexpr int kMaxDepth = 16;
// A field name longer than this is cut in messages.
constexpr size_t kMaxShownName = 48;

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

// `"name": ` for messages.
std::string FieldPrefix(std::string_view name) {
    return ShownName(name) + ": ";
}

[[noreturn]] void FieldError(std::string_view field, std::string_view message) {
    throw ESearchQueryError(FieldPrefix(field) + std::string(message));
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document() {
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

private:
    [[noreturn]] void Fail(std::string_view reason) const {
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

    [[noreturn]] void FailUnexpected() const {
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
    std::string Path() const {
        std::string path;
        for (const std::string& key : path_) {
            if (!path.empty()) {
                path += '.';
            }
            path += key;
        }
        return path;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    bool Take(std::string_view word) {
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return true;
        }
        return false;
    }

    JsonValue Value(int depth) {
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

    void Object(JsonValue& value, int depth) {
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

    void Array(JsonValue& value, int depth) {
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

    void Number(JsonValue& value) {
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

    // Four hexadecimal digits after "\u".
    uint32_t Hex4() {
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

    static void AppendUtf8(std::string& out, uint32_t code) {
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

    // The length of the well-formed UTF-8 sequence at pos_ (not ASCII), or 0.
    size_t Utf8Length() const {
        const auto at = [this](size_t i) {
            return pos_ + i < text_.size() ? static_cast<unsigned char>(text_[pos_ + i]) : 0;
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

    std::string String() {
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
                const size_t length = Utf8Length();
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
    }

    // The character of a "\u" escape, a surrogate pair taken whole.
    uint32_t Escaped() {
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

    std::string_view text_;
    size_t pos_ = 0;
    std::vector<std::string> path_;
};

constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();

// An integer from `low` to `high`, or the field's message.
int32_t IntegerIn(const JsonValue& value, int64_t low, int64_t high, std::string_view field,
                  std::string_view message) {
    if (value.Type != JsonValue::Kind::Number || !value.Integer || value.Int < low ||
        value.Int > high) {
        FieldError(field, message);
    }
    return static_cast<int32_t>(value.Int);
}

// Far beyond what any build reaches; the search sums minimums without overflow below it.
constexpr int64_t kMaxMinimum = 1000000;
constexpr std::string_view kMinimumRange = "0 から 1000000 の整数を指定してください";

std::string ObjectiveList() {
    std::string list;
    for (int o = 0; o < kObjectiveCount; ++o) {
        if (o > 0) {
            list += o + 1 < kObjectiveCount ? "、" : " か ";
        }
        AppendJsonString(list, ObjectiveName(static_cast<SearchObjective>(o)));
    }
    return list;
}

void ReadFree(const JsonValue& value, SearchQuery& query) {
    constexpr std::string_view kField = "free";
    if (value.Type != JsonValue::Kind::Array) {
        FieldError(kField, "部位の名前 (\"Top\"、\"Club\" など) の配列を指定してください");
    }
    query.Free.fill(false);
    for (const JsonValue& item : value.Items) {
        if (item.Type != JsonValue::Kind::String) {
            FieldError(kField, "部位の名前 (\"Top\"、\"Club\" など) の配列を指定してください");
        }
        const std::string name = ShownName(item.Text);
        const int part = SearchPartByName(item.Text);
        if (part < 0) {
            FieldError(kField, "部位 " + name + " はありません");
        }
        if (query.Free[static_cast<size_t>(part)]) {
            FieldError(kField, "部位 " + name + " が 2 回書かれています");
        }
        query.Free[static_cast<size_t>(part)] = true;
    }
}

void ReadMinimums(const JsonValue& value, SearchQuery& query) {
    if (value.Type != JsonValue::Kind::Object) {
        FieldError("min",
                   "下限のオブジェクト ({\"pow\": 10, \"distance\": 250} など) を指定してください");
    }
    for (size_t i = 0; i < value.Keys.size(); ++i) {
        const std::string field = "min." + value.Keys[i];
        int minimum = 0;
        while (minimum < kMinimumCount && MinimumName(minimum) != value.Keys[i]) {
            ++minimum;
        }
        if (minimum == kMinimumCount) {
            FieldError(field, "この項目はありません");
        }
        query.Min[static_cast<size_t>(minimum)] =
            IntegerIn(value.Items[i], 0, kMaxMinimum, field, kMinimumRange);
    }
}

void ReadField(const std::string& key, const JsonValue& value, JsonQuery& out) {
    SearchQuery& query = out.Query;
    using Kind = JsonValue::Kind;
    if (key == "build") {
        if (value.Type != Kind::String) {
            FieldError(key, "ビルドコードを文字列で指定してください");
        }
        out.Build = value.Text;
    } else if (key == "character") {
        constexpr std::string_view kMessage =
            "0 から 9 の整数か \"shown\" または \"any\" を指定してください";
        if (value.Type == Kind::String && value.Text == "shown") {
            query.Character = kShownCharacter;
        } else if (value.Type == Kind::String && value.Text == "any") {
            query.Character = kAnyCharacter;
        } else {
            query.Character = IntegerIn(value, 0, CharaCount - 1, key, kMessage);
        }
    } else if (key == "free") {
        ReadFree(value, query);
    } else if (key == "min") {
        ReadMinimums(value, query);
    } else if (key == "noPenalty") {
        if (value.Type != Kind::Bool) {
            FieldError(key, "true か false を指定してください");
        }
        query.NoPenalty = value.Flag;
    } else if (key == "budget") {
        if (value.Type == Kind::Null) {
            query.Budget.reset();
        } else {
            query.Budget = IntegerIn(value, 0, kIntMax, key,
                                     "0 以上の整数 (2147483647 まで) か null を指定してください");
        }
    } else if (key == "objective") {
        const std::optional<SearchObjective> objective =
            value.Type == Kind::String ? ObjectiveByName(value.Text) : std::nullopt;
        if (!objective) {
            FieldError(key, ObjectiveList() + " のどれかを指定してください");
        }
        query.Objective = *objective;
    } else if (key == "results") {
        query.Results =
            IntegerIn(value, 1, kMaxResults, key,
                      "1 から " + std::to_string(kMaxResults) + " の整数を指定してください");
    } else {
        FieldError(key, "この項目はありません");
    }
}

// JSON text laid out for people: every member of an object and every object of an array
// on a line of its own, arrays of numbers and strings on one line.
class PrettyJson {
public:
    std::string Out;

    void BeginObject() { Begin('{'); }
    void EndObject() { End('}'); }
    void BeginArray() { Begin('['); }
    void EndArray() { End(']'); }

    void Key(std::string_view key) {
        Item();
        AppendJsonString(Out, key);
        Out += ": ";
        afterKey_ = true;
    }
    void Int(int64_t number) {
        Item();
        Out += std::to_string(number);
    }
    void Bool(bool flag) {
        Item();
        Out += flag ? "true" : "false";
    }
    void Null() {
        Item();
        Out += "null";
    }
    void String(std::string_view text) {
        Item();
        AppendJsonString(Out, text);
    }
    // An array of scalars on one line; `write` appends one element.
    template <class Range, class Write>
    void Line(const Range& range, Write write) {
        Item();
        Out += '[';
        bool first = true;
        for (const auto& element : range) {
            if (!first) {
                Out += ", ";
            }
            first = false;
            write(element);
        }
        Out += ']';
    }

private:
    struct Open {
        char Bracket;
        bool Empty = true;
    };

    void Item() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (open_.empty()) {
            return;
        }
        if (!open_.back().Empty) {
            Out += ',';
        }
        open_.back().Empty = false;
        Out += '\n';
        Out.append(2 * open_.size(), ' ');
    }
    void Begin(char bracket) {
        Item();
        Out += bracket;
        open_.push_back({bracket});
    }
    void End(char bracket) {
        const bool empty = open_.back().Empty;
        open_.pop_back();
        if (!empty) {
            Out += '\n';
            Out.append(2 * open_.size(), ' ');
        }
        Out += bracket;
    }

    std::vector<Open> open_;
    bool afterKey_ = false;
};

void WriteInts(PrettyJson& json, std::string_view key, const std::vector<int32_t>& numbers) {
    json.Key(key);
    json.Line(numbers, [&json](int32_t n) { json.Out += std::to_string(n); });
}

// "final", "penalty", "distances" (and "pp" when `withPP`).
void WriteFigures(PrettyJson& json, const BuildFigures& figures) {
    const TStatus& f = figures.Final;
    WriteInts(json, "final", {f.Pow, f.Ctrl, f.Exa, f.Spin, f.Cur});
    json.Key("penalty");
    json.Int(figures.Penalty);
    WriteInts(json, "distances", {figures.Distances.begin(), figures.Distances.end()});
}

void WriteChanges(PrettyJson& json, const std::vector<std::string>& changes) {
    json.Key("changes");
    json.Line(changes, [&json](const std::string& text) { AppendJsonString(json.Out, text); });
}

}  // namespace

JsonQuery QueryFromJson(std::string_view text) {
    if (text.size() > kMaxQueryBytes) {
        throw ESearchQueryError("クエリが大きすぎます (" + std::to_string(kMaxQueryBytes) +
                                " バイトまで)");
    }
    const JsonValue document = Parser(text).Document();
    if (document.Type != JsonValue::Kind::Object) {
        throw ESearchQueryError(
            "クエリは JSON のオブジェクト ({ で始まり } で終わる) で書いてください");
    }
    JsonQuery out;
    for (size_t i = 0; i < document.Keys.size(); ++i) {
        ReadField(document.Keys[i], document.Items[i], out);
    }
    ValidateQuery(out.Query);
    return out;
}

std::string ResultJson(const SearchResult& result) {
    PrettyJson json;
    json.BeginObject();
    json.Key("current");
    json.BeginObject();
    WriteFigures(json, result.Current);
    json.Key("pp");
    json.Int(result.Current.PP);
    json.Key("value");
    json.Int(result.CurrentValue);
    json.EndObject();

    json.Key("feasible");
    json.Bool(!result.Answers.empty());
    json.Key("answers");
    json.BeginArray();
    for (size_t i = 0; i < result.Answers.size(); ++i) {
        const SearchAnswer& answer = result.Answers[i];
        json.BeginObject();
        json.Key("rank");
        json.Int(static_cast<int64_t>(i) + 1);
        json.Key("character");
        json.Int(answer.Build.TabIndex);
        json.Key("code");
        json.String(EncodeBuild(answer.Build));
        WriteFigures(json, answer.Figures);
        json.Key("pp");
        json.Int(answer.Figures.PP);
        json.Key("value");
        json.Int(answer.Value);
        WriteChanges(json, answer.ChangeTexts);
        json.EndObject();
    }
    json.EndArray();

    json.Key("reaches");
    json.BeginArray();
    for (const MinimumReach& reach : result.Reaches) {
        json.BeginObject();
        json.Key("min");
        json.String(reach.Minimum >= 0 && reach.Minimum < kMinimumCount ? MinimumName(reach.Minimum)
                                                                        : std::string_view("?"));
        json.Key("wanted");
        json.Int(reach.Wanted);
        json.Key("reachable");
        if (reach.Reachable) {
            json.Int(*reach.Reachable);
        } else {
            json.Null();
        }
        json.EndObject();
    }
    json.EndArray();

    json.Key("curve");
    json.BeginArray();
    for (const CurveStep& step : result.Curve) {
        json.BeginObject();
        json.Key("pp");
        json.Int(step.PP);
        json.Key("value");
        json.Int(step.Value);
        json.Key("code");
        json.String(EncodeBuild(step.Answer.Build));
        WriteFigures(json, step.Answer.Figures);
        WriteChanges(json, step.Answer.ChangeTexts);
        json.EndObject();
    }
    json.EndArray();

    json.Key("nodes");
    json.Int(static_cast<int64_t>(std::min<uint64_t>(result.Nodes, INT64_MAX)));
    json.Key("cancelled");
    json.Bool(result.Cancelled);
    json.Key("proved");
    json.Bool(result.Proved);
    json.EndObject();
    return json.Out;
}

std::string FiguresJson(const PlannedBuild& build, const BuildFigures& figures) {
    PrettyJson json;
    json.BeginObject();
    json.Key("code");
    json.String(EncodeBuild(build));
    json.Key("character");
    json.Int(build.TabIndex);
    WriteFigures(json, figures);
    json.Key("pp");
    json.Int(figures.PP);
    json.EndObject();
    return json.Out;
}
