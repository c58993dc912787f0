#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "json/json_writer.h"
#include "search/search_json.h"

// Writing a search's answer and a build's figures as JSON laid out for people.

namespace {

void WriteInts(json::Writer& json, std::string_view key, const std::vector<int32_t>& numbers) {
    json.Key(key);
    json.BeginLine();
    for (const int32_t n : numbers) {
        json.Int(n);
    }
    json.EndArray();
}

// "final", "penalty", "distances" (and "pp" when `withPP`).
void WriteFigures(json::Writer& json, const BuildFigures& figures) {
    const TStatus& f = figures.Final;
    WriteInts(json, "final", {f.Pow, f.Ctrl, f.Exa, f.Spin, f.Cur});
    json.Key("penalty");
    json.Int(figures.Penalty);
    WriteInts(json, "distances", {figures.Distances.begin(), figures.Distances.end()});
}

void WriteSide(json::Writer& json, std::string_view key, int32_t index, const std::string& text) {
    json.Key(key);
    json.BeginObject();
    json.Field("index", index);
    json.Field("text", text);
    json.EndObject();
}

// "changes", the texts the dialog lists, and "changeData", the same as data, one change a
// line: {"field": ..., "from": {"index": ..., "text": ...}, "to": {...}}.
void WriteChanges(json::Writer& json, const SearchAnswer& answer) {
    json.Key("changes");
    json.BeginLine();
    for (const std::string& text : answer.ChangeTexts) {
        json.String(text);
    }
    json.EndArray();
    json.Key("changeData");
    json.BeginArray();
    for (const SearchChange& change : answer.ChangeData) {
        json.BeginLineObject();
        json.Field("field", change.Field);
        WriteSide(json, "from", change.FromIndex, change.FromText);
        WriteSide(json, "to", change.ToIndex, change.ToText);
        json.EndObject();
    }
    json.EndArray();
}

// What the build needs that the player does not own: "acquired" as texts, and
// "acquiredData" as the holdings' list and index of each; written where the query named
// holdings.
void WriteAcquired(json::Writer& json, const std::vector<SearchAcquired>& acquired) {
    json.Key("acquired");
    json.BeginLine();
    for (const SearchAcquired& a : acquired) {
        json.String(a.Text);
    }
    json.EndArray();
    json.Key("acquiredData");
    json.BeginArray();
    for (const SearchAcquired& a : acquired) {
        json.BeginLineObject();
        json.Field("list", a.List);
        json.Field("index", a.Index);
        json.EndObject();
    }
    json.EndArray();
}

void WriteOptional(json::Writer& json, const std::optional<int32_t>& value) {
    if (value) {
        json.Int(*value);
    } else {
        json.Null();
    }
}

// The answers, ranked from 1.
void WriteAnswers(json::Writer& json, const std::vector<SearchAnswer>& answers, bool acquired,
                  bool gains) {
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
        WriteChanges(json, answer);
        if (acquired) {
            WriteAcquired(json, answer.Acquired);
        }
        if (gains) {
            json.Key("gain");
            WriteOptional(json, answer.Gain);
        }
        json.EndObject();
    }
    json.EndArray();
}

void WriteReaches(json::Writer& json, const std::vector<MinimumReach>& reaches) {
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
        json.Key("giveUp");
        json.Bool(reach.GiveUp);
        json.EndObject();
    }
    json.EndArray();
}

// The lines that explain an empty answer, as the faces show them.
void WriteReasons(json::Writer& json, const SearchResult& result) {
    json.Key("reasons");
    json.BeginArray();
    for (const std::string& line : ReasonLines(result)) {
        json.String(line);
    }
    json.EndArray();
}

void WriteCurve(json::Writer& json, const std::vector<CurveStep>& curve, bool acquired) {
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
        WriteChanges(json, step.Answer);
        if (acquired) {
            WriteAcquired(json, step.Answer.Acquired);
        }
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

std::string ResultJson(const SearchResult& result) {
    json::Writer json(json::Layout::Pretty);
    json.BeginObject();
    json.Key("current");
    json.BeginObject();
    WriteFigures(json, result.Current);
    json.Key("pp");
    json.Int(result.Current.PP);
    json.Key("value");
    json.Int(result.CurrentValue);
    json.Key("character");
    json.Int(result.CurrentBuild.TabIndex);
    json.Key("code");
    json.String(EncodeBuild(result.CurrentBuild));
    json.EndObject();

    json.Key("feasible");
    json.Bool(!result.Answers.empty());
    WriteAnswers(json, result.Answers, result.WithinHoldings, result.NextToGet);
    if (result.NextToGet) {
        json.Key("ownedBest");
        WriteOptional(json, result.OwnedBest);
    }
    WriteReaches(json, result.Reaches);
    WriteReasons(json, result);
    WriteCurve(json, result.Curve, result.WithinHoldings);

    json.Key("nodes");
    json.Int(static_cast<int64_t>(std::min<uint64_t>(result.Nodes, INT64_MAX)));
    json.Key("cancelled");
    json.Bool(result.Cancelled);
    json.Key("proved");
    json.Bool(result.Proved);
    json.EndObject();
    return json.Take();
}

std::string FiguresJson(const PlannedBuild& build, const BuildFigures& figures) {
    json::Writer json(json::Layout::Pretty);
    json.BeginObject();
    json.Key("code");
    json.String(EncodeBuild(build));
    json.Key("character");
    json.Int(build.TabIndex);
    WriteFigures(json, figures);
    json.Key("pp");
    json.Int(figures.PP);
    json.EndObject();
    return json.Take();
}
