#include <cstdint>
#include <optional>
#include <string>

#include "json/json_reader.h"
#include "json/json_writer.h"
#include "search/holdings_json.h"
#include "search/query_limits.h"
#include "search/search_json.h"

// Reading a query: the JSON text through the strict reader (json/json_reader.h), then
// each field into the SearchQuery, refusing a value of another type or out of its range
// with a message that names the field.

namespace {

using JsonValue = json::Value;

constexpr size_t kMaxQueryBytes = 64 * 1024;
// Objects and arrays nest at most this deep in a query.
constexpr int kMaxDepth = 16;
// A field name longer than this is cut in messages.
constexpr size_t kMaxShownName = 48;

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

// Throws the ESearchQueryError `"field": message`.
[[noreturn]] void FieldError(std::string_view field, std::string_view message) {
    throw ESearchQueryError(ShownName(field) + ": " + std::string(message));
}

// The text as JSON; a refusal of the reader names the keys being read, joined by dots
// ("min.pow"), before its message.
JsonValue Document(std::string_view text) {
    try {
        return json::Parse(text, kMaxDepth);
    } catch (const json::ParseError& error) {
        if (error.Path.empty()) {
            throw ESearchQueryError(error.what());
        }
        std::string path;
        for (const std::string& key : error.Path) {
            if (!path.empty()) {
                path += '.';
            }
            path += key;
        }
        FieldError(path, error.what());
    }
}

// An integer within the field's limit, or the field's refusal.
int32_t IntegerIn(const JsonValue& value, const QueryLimit& limit, std::string_view field) {
    if (value.Type != JsonValue::Kind::Number || !value.Integer || !limit.Holds(value.Int)) {
        FieldError(field, limit.Refusal);
    }
    return static_cast<int32_t>(value.Int);
}

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
        query.Min[static_cast<size_t>(minimum)] = IntegerIn(value.Items[i], kMinimumLimit, field);
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
        if (value.Type == Kind::String && value.Text == "shown") {
            query.Character = kShownCharacter;
        } else if (value.Type == Kind::String && value.Text == "any") {
            query.Character = kAnyCharacter;
        } else {
            query.Character = IntegerIn(value, kCharacterLimit, key);
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
            query.Budget = IntegerIn(value, kBudgetLimit, key);
        }
    } else if (key == "objective") {
        const std::optional<SearchObjective> objective =
            value.Type == Kind::String ? ObjectiveByName(value.Text) : std::nullopt;
        if (!objective) {
            FieldError(key, ObjectiveList() + " のどれかを指定してください");
        }
        query.Objective = *objective;
    } else if (key == "results") {
        query.Results = IntegerIn(value, kResultsLimit, key);
    } else if (key == "owned") {
        query.Owned = OwnedFromJsonValue(value, key);
    } else if (key == "acquire") {
        query.Acquire =
            value.Type == Kind::Null ? kAcquireAny : IntegerIn(value, kAcquireLimit, key);
    } else if (key == "distinct") {
        const std::optional<SearchDistinct> distinct =
            value.Type == Kind::String ? DistinctByName(value.Text) : std::nullopt;
        if (!distinct) {
            FieldError(key, "\"figures\" か \"acquired\" を指定してください");
        }
        query.Distinct = *distinct;
    } else {
        FieldError(key, "この項目はありません");
    }
}

}  // namespace

JsonQuery QueryFromJson(std::string_view text) {
    if (text.size() > kMaxQueryBytes) {
        throw ESearchQueryError("クエリが大きすぎます (" + std::to_string(kMaxQueryBytes) +
                                " バイトまで)");
    }
    const JsonValue document = Document(text);
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
