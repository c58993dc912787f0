#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "form/form.h"
#include "search/search_json.h"

// Writing a search's answer and a build's figures as JSON laid out for people.

namespace {

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

// What the build needs that the player does not own: "acquired" as texts, and
// "acquiredData" as the holdings' list and index of each; written where the query named
// holdings.
void WriteAcquired(PrettyJson& json, const std::vector<SearchAcquired>& acquired) {
    json.Key("acquired");
    json.Line(acquired, [&json](const SearchAcquired& a) { AppendJsonString(json.Out, a.Text); });
    json.Key("acquiredData");
    json.BeginArray();
    for (const SearchAcquired& a : acquired) {
        json.BeginObject();
        json.Key("list");
        json.String(a.List);
        json.Key("index");
        json.Int(a.Index);
        json.EndObject();
    }
    json.EndArray();
}

// The answers, ranked from 1.
void WriteAnswers(PrettyJson& json, const std::vector<SearchAnswer>& answers, bool acquired) {
    json.Key("answers");
    json.BeginArray();
    for (size_t i = 0; i < answers.size(); ++i) {
        const SearchAnswer& answer = answers[i];
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
        if (acquired) {
            WriteAcquired(json, answer.Acquired);
        }
        json.EndObject();
    }
    json.EndArray();
}

void WriteReaches(PrettyJson& json, const std::vector<MinimumReach>& reaches) {
    json.Key("reaches");
    json.BeginArray();
    for (const MinimumReach& reach : reaches) {
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
}

void WriteCurve(PrettyJson& json, const std::vector<CurveStep>& curve, bool acquired) {
    json.Key("curve");
    json.BeginArray();
    for (const CurveStep& step : curve) {
        json.BeginObject();
        json.Key("pp");
        json.Int(step.PP);
        json.Key("value");
        json.Int(step.Value);
        json.Key("code");
        json.String(EncodeBuild(step.Answer.Build));
        WriteFigures(json, step.Answer.Figures);
        WriteChanges(json, step.Answer.ChangeTexts);
        if (acquired) {
            WriteAcquired(json, step.Answer.Acquired);
        }
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

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
    WriteAnswers(json, result.Answers, result.WithinHoldings);
    WriteReaches(json, result.Reaches);
    WriteCurve(json, result.Curve, result.WithinHoldings);

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
