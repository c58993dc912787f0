#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "form/form.h"
#include "json/json_writer.h"
#include "search/dialog_form.h"
#include "search/search.h"
#include "search/search_json.h"

namespace {

// The message of the query's refusal; a failure when it is read.
std::string Refusal(std::string_view text) {
    try {
        QueryFromJson(text);
    } catch (const ESearchQueryError& error) {
        return error.what();
    }
    ADD_FAILURE() << "read: " << text;
    return {};
}

// Whether a message is UTF-8 a page can show: the reader takes it as a string.
bool IsUtf8(const std::string& message) {
    std::string text = "{\"build\": ";
    AppendJsonString(text, message);
    try {
        return QueryFromJson(text + "}").Build == message;
    } catch (const ESearchQueryError&) {
        return false;
    }
}

// Sets the field `name` ("character", "results", "budget", "min.pow", ...) of `q`.
void Set(SearchQuery& q, const std::string& name, int32_t value) {
    if (name == "character" || name == "results") {
        (name == "character" ? q.Character : q.Results) = value;
    } else if (name == "budget") {
        q.Budget = value;
    }
    for (int m = 0; m < kMinimumCount; ++m) {
        if (name == "min." + std::string(MinimumName(m))) {
            q.Min[static_cast<size_t>(m)] = value;
        }
    }
}

// Random queries written in every way JSON allows: any key order, blanks between tokens,
// defaults left out or written, strings raw or escaped (surrogate pairs, short escapes).
class QueryWriter {
public:
    explicit QueryWriter(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Below(100) < percent; }
    int32_t Number() {
        const int32_t edges[] = {0, INT32_MAX, Below(300)};
        return Chance(60) ? edges[Below(3)] : std::uniform_int_distribution<int32_t>()(rng_);
    }
    std::string Blank() {
        std::string out;
        while (Chance(30)) {
            out += " \t\r\n"[Below(4)];
        }
        return out;
    }

    // A text of random characters as a JSON string, in a random one of the ways JSON
    // writes each; `raw` receives the text.
    std::string Text(int length, std::string& raw) {
        // A character, then the ways to write it, parted by blanks.
        // clang-format off
        static const std::string kCharacters[] = {
            "A", "A \\u0041", "-", "- \\u002d", "\"", "\\\" \\u0022", "\\", "\\\\ \\u005C", "/",
            "/ \\/", "\n", "\\n \\u000a", "\t", "\\t", "\b", "\\b", "\f", "\\f", "\r", "\\r",
            std::string(1, '\0'), "\\u0000", "\x1F", "\\u001F", "\x7F", "\x7F", "\xC2\x80",
            "\xC2\x80 \\u0080", "\xDF\xBF", "\\u07ff", "\xE0\xA0\x80", "\\u0800", "あ", "あ \\u3042",
            "\xEF\xBF\xBF", "\xEF\xBF\xBF \\uFFFF", "\xF0\x90\x80\x80", "\\uD800\\uDC00", "😀",
            "😀 \\ud83d\\ude00", "\xF4\x8F\xBF\xBF", "\\uDBFF\\uDFFF"};
        // clang-format on
        std::string out = "\"";
        for (int k = 0; k < length; ++k) {
            const size_t c = 2 * static_cast<size_t>(Below(std::size(kCharacters) / 2));
            raw += kCharacters[c];
            std::vector<std::string> ways;
            std::istringstream words(kCharacters[c + 1]);
            for (std::string way; words >> way;) {
                ways.push_back(way);
            }
            out += ways[static_cast<size_t>(Below(static_cast<int>(ways.size())))];
        }
        return out + "\"";
    }
    std::string String(std::string_view name) {
        std::string out;
        AppendJsonString(out, name);
        return out;
    }

    // A query and its JSON text.
    std::pair<std::string, JsonQuery> Query() {
        JsonQuery want;
        SearchQuery& q = want.Query;
        std::vector<std::string> fields;
        const auto field = [&](std::string_view key, const std::string& value) {
            fields.push_back(Blank() + String(key) + Blank() + ":" + Blank() + value + Blank());
        };
        if (Chance(80)) {
            want.Build.emplace();
            field("build", Text(Below(12), *want.Build));
        }
        q.Character = Below(CharaCount + 2) - 2;
        const std::string characters[] = {"\"any\"", "\"shown\""};
        if (q.Character != kShownCharacter || Chance(50)) {
            field("character",
                  q.Character < 0 ? characters[q.Character + 2] : std::to_string(q.Character));
        }
        if (Chance(70)) {
            std::vector<int> parts(kSearchPartCount);
            std::iota(parts.begin(), parts.end(), 0);
            std::shuffle(parts.begin(), parts.end(), rng_);
            parts.resize(static_cast<size_t>(Below(kSearchPartCount + 1)));
            q.Free.fill(false);
            std::string list;
            for (const int p : parts) {
                q.Free[static_cast<size_t>(p)] = true;
                list += (list.empty() ? "" : ",") + Blank() + String(SearchPartName(p)) + Blank();
            }
            field("free", "[" + list + "]");
        }
        if (Chance(70)) {
            std::string object;
            for (int m = 0; m < kMinimumCount; ++m) {
                if (Chance(40)) {
                    q.Min[static_cast<size_t>(m)] = Number() % 1000001;
                    object += (object.empty() ? "" : ",") + Blank() + String(MinimumName(m)) + ":" +
                              std::to_string(*q.Min[static_cast<size_t>(m)]) + Blank();
                }
            }
            field("min", "{" + object + "}");
        }
        q.NoPenalty = Chance(50);
        if (!q.NoPenalty || Chance(50)) {
            field("noPenalty", q.NoPenalty ? "true" : "false");
        }
        if (Chance(60)) {
            q.Budget = Number();
        }
        if (q.Budget || Chance(50)) {
            field("budget", q.Budget ? std::to_string(*q.Budget) : "null");
        }
        q.Objective = static_cast<SearchObjective>(Below(kObjectiveCount));
        if (q.Objective != SearchObjective::Distance || Chance(50)) {
            field("objective", String(ObjectiveName(q.Objective)));
        }
        q.Results = 1 + Below(kMaxResults);
        if (q.Results != 10 || Chance(50)) {
            field("results", std::to_string(q.Results));
        }
        std::shuffle(fields.begin(), fields.end(), rng_);
        std::string text;
        for (const std::string& f : fields) {
            text += (text.empty() ? "" : ",") + f;
        }
        return {(Chance(10) ? "\xEF\xBB\xBF{" : "{") + text + "}" + Blank(), want};
    }

private:
    std::mt19937 rng_;
};

}  // namespace

// Every query written in any of the forms JSON allows reads back as the query written;
// damaged ones (bytes dropped, added, changed, cut off, repeated) are read or refused with
// a message, never anything else, and every message is UTF-8.
TEST(QueryJson, GeneratedQueriesReadBackAndDamagedOnesAreRefusedCleanly) {
    QueryWriter writer(2024);
    int refused = 0;
    for (int n = 0; n < 12000; ++n) {
        auto [text, want] = writer.Query();
        if (n % 4 == 0) {
            const JsonQuery got = QueryFromJson(text);
            const SearchQuery &a = got.Query, &b = want.Query;
            EXPECT_TRUE(got.Build == want.Build && a.Character == b.Character && a.Free == b.Free &&
                        a.Min == b.Min && a.NoPenalty == b.NoPenalty && a.Budget == b.Budget &&
                        a.Objective == b.Objective && a.Results == b.Results)
                << text;
            continue;
        }
        for (int k = 1 + writer.Below(3); k > 0 && !text.empty(); --k) {
            const auto at = static_cast<size_t>(writer.Below(static_cast<int>(text.size())));
            const char byte = writer.Chance(50) ? "{}[],:\"\\-0eE.u \x80\xC3\xED"[writer.Below(19)]
                                                : static_cast<char>(writer.Below(256));
            const int how = writer.Below(5);
            if (how == 0) {
                text.erase(at, 1);
            } else if (how == 1) {
                text.insert(at, 1, byte);
            } else if (how == 2) {
                text[at] = byte;
            } else if (how == 3) {
                text.resize(at);
            } else {
                text.insert(at, text.substr(at / 2, at - at / 2));
            }
        }
        try {
            QueryFromJson(text);
        } catch (const ESearchQueryError& error) {
            ++refused;
            EXPECT_TRUE(IsUtf8(error.what())) << error.what();
        }
    }
    EXPECT_GT(refused, 6000);
}

// A refusal of the JSON reader names the field being read and the place; deep nesting
// and long texts are refused before they cost.
TEST(QueryJson, ReaderRefusalsNameTheFieldAndPlace) {
    Refusal("[]");
    Refusal("null");
    EXPECT_EQ(
        Refusal("{\n  \"min\": {\"pow\": 01}}"),
        "\"min.pow\": JSON として読めません: 数値の書き方が正しくありません (2 行 18 文字目)");
    EXPECT_EQ(
        Refusal("{\"build\": \"ビルド\xFF\"}"),
        "\"build\": JSON として読めません: UTF-8 として読めないバイトがあります (1 行 15 文字目)");
    EXPECT_EQ(Refusal("{\"results\": 5,}"),
              "JSON として読めません: ここに「}」は書けません (1 行 15 文字目)");
    EXPECT_EQ(Refusal("{\"free\": " + std::string(30000, '[') + "]}")
                  .find("\"free\": JSON として読めません: 入れ子が深すぎます"),
              0u);
    EXPECT_EQ(Refusal("{\"build\": \"" + std::string(70000, 'A') + "\"}"),
              "クエリが大きすぎます (65536 バイトまで)");
}

// Each field refuses every value of another type or out of its range, the message
// starting with the field's name; names from the query are cut between characters.
TEST(QueryJson, RefusalsNameTheField) {
    const std::vector<std::string> common = {"true", "null", "\"x\"", "[]", "{}", "1.5", "1e3"};
    // Field, values refused besides the common ones, common values it takes.
    const std::vector<std::vector<std::vector<std::string>>> fields = {
        {{"build"}, {"5"}, {"\"x\""}},
        {{"character"}, {"-1", "10", "-2", "\"Shown\"", "\"0\"", "1.0"}, {}},
        {{"free"}, {"\"Top\"", "[\"top\"]", "[\"Top\", \"Top\"]", "[5]", "[[\"Top\"]]"}, {"[]"}},
        {{"min"}, {"5"}, {"{}"}},
        {{"min.pow"}, {"-1", "1000001", "\"5\"", "99999999999999999999"}, {}},
        {{"min.distance"}, {"-1", "-0.0"}, {}},
        {{"min.power"}, {"5"}, {}},
        {{"noPenalty"}, {"1", "\"true\""}, {"true"}},
        {{"budget"}, {"-1", "2147483648", "\"100\"", "false"}, {"null"}},
        {{"objective"}, {"\"Distance\"", "0"}, {}},
        {{"results"}, {"0", "51", "-0", "10.0", "\"10\""}, {}},
        {{"Build"}, {"1"}, {}},
    };
    for (const auto& row : fields) {
        const std::string& name = row[0][0];
        std::vector<std::string> values = row[1];
        std::copy_if(
            common.begin(), common.end(), std::back_inserter(values),
            [&](const std::string& v) { return std::count(row[2].begin(), row[2].end(), v) == 0; });
        const size_t dot = name.find('.');
        const auto query = [&](const std::string& value) {
            return dot == std::string::npos
                       ? "{\"" + name + "\": " + value + "}"
                       : "{\"min\": {\"" + name.substr(dot + 1) + "\": " + value + "}}";
        };
        for (const std::string& value : values) {
            EXPECT_EQ(Refusal(query(value)).find("\"" + name + "\": "), 0u) << query(value);
        }
        for (const std::string& value : row[2]) {
            EXPECT_NO_THROW(QueryFromJson(query(value))) << value;
        }
    }
    EXPECT_EQ(Refusal("{\"budget\": -5}"),
              "\"budget\": 0 以上の整数 (2147483647 まで) か null を指定してください");
    EXPECT_EQ(Refusal("{\"free\": [\"Ring\", \"Hat\"]}"), "\"free\": 部位 \"Hat\" はありません");

    QueryWriter writer(5);
    for (int n = 0; n < 300; ++n) {
        std::string name;
        const std::string quoted = writer.Text(writer.Below(30), name);
        const std::string message = Refusal("{\"free\": [" + quoted + "]}");
        EXPECT_TRUE(IsUtf8(message)) << message;
        EXPECT_NE(message.find(name.size() <= 48 ? writer.String(name) : "…\""), std::string::npos)
            << message;
    }
}

// Each number of the dialog, and the character, takes exactly the integers of its
// limit, read from JSON or built by a face and checked by the search: at, beside and far
// past each bound the two agree and refuse with the one message, which states the bounds.
TEST(QueryLimits, TheDialogTheReaderAndTheSearchTakeExactlyEachRange) {
    std::vector<std::pair<std::string, QueryLimit>> fields = {{"character", kCharacterLimit}};
    for (const DialogControl& c : SearchDialogForm().Controls) {
        if (c.Kind == DialogKind::Number) {
            ASSERT_TRUE(c.Limit.has_value()) << c.Name;
            EXPECT_TRUE(c.Limit->Holds(c.Initial)) << c.Name;
            const DialogControl* toggle = FindDialogControl(c.Switch);
            EXPECT_TRUE(c.Switch.empty() || (toggle && toggle->Kind == DialogKind::Toggle));
            fields.emplace_back(c.Field, *c.Limit);
        }
    }
    ASSERT_EQ(fields.size(), 1u + kMinimumCount + 2);
    std::mt19937 rng(11);
    for (const auto& [name, limit] : fields) {
        EXPECT_NE(limit.Refusal.find(std::to_string(limit.Low)), std::string_view::npos);
        EXPECT_NE(limit.Refusal.find(std::to_string(limit.High)), std::string_view::npos);
        std::vector<int64_t> values = {INT32_MIN, INT32_MAX, 0};
        for (int d = -3; d <= 3; ++d) {
            values.push_back(int64_t{limit.Low} + d);
            values.push_back(int64_t{limit.High} + d);
        }
        for (int n = 0; n < 40; ++n) {
            values.push_back(std::uniform_int_distribution<int32_t>(limit.Low, limit.High)(rng));
            values.push_back(std::uniform_int_distribution<int32_t>()(rng));
        }
        const std::string refusal = QueryRefusal(name, limit);
        const bool min = name.rfind("min.", 0) == 0;
        for (const int64_t v : values) {
            if (v < INT32_MIN || v > INT32_MAX) {
                continue;
            }
            const auto value = static_cast<int32_t>(v);
            const std::string json =
                min ? "{\"min\": {\"" + name.substr(4) + "\": " + std::to_string(v) + "}}"
                    : "{\"" + name + "\": " + std::to_string(v) + "}";
            SearchQuery built;
            Set(built, name, value);
            if (limit.Holds(v)) {
                SearchQuery read = QueryFromJson(json).Query;
                EXPECT_TRUE(read.Character == built.Character && read.Results == built.Results &&
                            read.Budget == built.Budget && read.Min == built.Min)
                    << json;
                EXPECT_NO_THROW(ValidateQuery(built)) << json;
                continue;
            }
            EXPECT_EQ(Refusal(json), refusal);
            // The shown and any character are no page numbers, but the search takes them.
            if (name == "character" && (value == kShownCharacter || value == kAnyCharacter)) {
                EXPECT_NO_THROW(ValidateQuery(built));
                continue;
            }
            try {
                ValidateQuery(built);
                ADD_FAILURE() << "the search takes " << json;
            } catch (const ESearchQueryError& error) {
                EXPECT_EQ(error.what(), refusal) << json;
            }
        }
    }
}

// The answer and the figures carry every part of the result, an answer's code being its
// build's code and its character the build's page.
TEST(ResultJsonFormat, WritesEveryPartOfTheAnswer) {
    SearchAnswer answer;
    answer.Build.TabIndex = 4;
    answer.Build.Club = 2;
    answer.Figures = {{20, 21, 22, 23, 24}, -2, {300, 310, 320}, 55};
    answer.Value = 300;
    answer.ChangeTexts = {"頭1: なし → パワー+1/S+2 *", "\"\\"};
    answer.ChangeData = {{"Head", -1, "なし", 5, "パワー+1/S+2 *"}};
    SearchResult result{{{10, 11, 12, 13, 14}, 0, {250, 260, 270}, 40},
                        250,
                        {answer},
                        {{1, 15, 12, true}, {5, 300, std::nullopt}},
                        {{0, 280, answer}},
                        1234,
                        false};
    result.CurrentBuild.TabIndex = 3;
    // The text without its layout: blanks outside strings dropped.
    const auto compact = [](const std::string& json) {
        std::string out;
        bool inString = false;
        bool escaped = false;
        for (const char c : json) {
            if (inString) {
                inString = escaped || c != '"';
                escaped = !escaped && c == '\\';
            } else if (c == ' ' || c == '\n') {
                continue;
            } else {
                inString = c == '"';
            }
            out += c;
        }
        return out;
    };
    const std::string code = EncodeBuild(answer.Build);
    const std::string figures =
        R"("final":[20,21,22,23,24],"penalty":-2,"distances":[300,310,320],)";
    const std::string changes =
        R"("changes":["頭1: なし → パワー+1/S+2 *","\"\\"],)"
        R"("changeData":[{"field":"Head","from":{"index":-1,"text":"なし"},)"
        R"("to":{"index":5,"text":"パワー+1/S+2 *"}}])";
    EXPECT_EQ(
        compact(ResultJson(result)),
        R"({"current":{"final":[10,11,12,13,14],"penalty":0,"distances":[250,260,270],"pp":40,"value":250,)"
        R"("character":3,"code":")" +
            EncodeBuild(result.CurrentBuild) +
            R"("},"feasible":true,"answers":[{"rank":1,"character":4,"code":")" + code + "\"," +
            figures + R"("pp":55,"value":300,)" + changes +
            R"(}],"reaches":[{"min":"ctrl","wanted":15,"reachable":12,"giveUp":true},)"
            R"({"min":"distance","wanted":300,"reachable":null,"giveUp":false}],"reasons":[],"curve":[{"pp":0,"value":280,"code":")" +
            code + "\"," + figures + changes +
            R"(}],"nodes":1234,"cancelled":false,"proved":false})");
    EXPECT_NE(compact(ResultJson(SearchResult{}))
                  .find(R"("feasible":false,"answers":[],"reaches":[],"reasons":[],"curve":[])"),
              std::string::npos);
    EXPECT_EQ(compact(FiguresJson(answer.Build, answer.Figures)),
              R"({"code":")" + code + R"(","character":4,)" + figures + R"("pp":55})");
}
