#include "search/dialog_form.h"

#include <array>

#include "characters/roster.h"
#include "form/form.h"
#include "search/search.h"

namespace {

constexpr std::string_view kMinimumCaptions[kMinimumCount] = {"パワー", "コントロール", "正確度",
                                                              "スピン", "カーブ",       "1W飛距離"};
constexpr std::string_view kObjectiveCaptions[kObjectiveCount] = {
    "1W飛距離", "パワーショット飛距離", "パワー", "コントロール", "正確度", "スピン",
    "カーブ",   "ステータス合計",       "最小PP"};

struct TextDef {
    std::string_view Key;
    std::string_view Text;
};

constexpr std::array<TextDef, kDialogTextCount> kTexts = {{
    {"running", "探索中…"},
    {"soFar", "探索中… これまでの候補 {0} 件 (まだ最適とは限りません)"},
    {"proved", "候補 {0} 件 ({1} ノード, {2} 秒) 最適を確認済み"},
    {"noneFound", "条件に合うビルドがありません ({0} ノード, {1} 秒)"},
    {"cancelling", "中止しています…"},
    {"cancelledKept", "探索を中止しました。見つけた候補 {0} 件は最適とは限りません。"},
    {"cancelled", "探索を中止しました。"},
    {"failed", "探索できませんでした。"},
    {"stale", "条件が変わりました。「探索」で新しい答えを出します。"},
    {"currentRow", "現在"},
    {"currentChanges", "探索を始めたときの選択"},
    {"currentPicked", "探索を始めたときの選択です。"},
    {"changesTitle", "変更点"},
    {"changesOf", "{0}位の変更"},
    {"stepChangesOf", "曲線の段 {0} PP: {1} の変更"},
    {"applyHint", "(ダブルクリックか「適用」で適用)"},
    {"applyHintTouch", "(「適用」で適用)"},
    {"noChange", "変更なし"},
    {"applied", "{0}のビルドを表示しました (「元に戻す」か Ctrl+Z で戻せます)。"},
    {"curveTitle", "予算ごとの最高{0} (段を選ぶとそのビルドを選択)"},
    {"curveLeastPP", "最小PPの探索には曲線がありません"},
    {"curveEmpty", "条件に合うビルドがありません"},
    {"curveStep", "{0} PP から {1} {2}"},
    {"wearHint", "この行があるキャラ: {0}"},
    {"shownCharacter", "表示中のキャラ ({0})"},
    {"unsupported", "このブラウザではビルド探索を実行できません。"},
    {"acquiredLine", "入手: {0}"},
    {"gain", "{0}{1}"},
    {"gainPP", "{0} PP 少ない"},
    {"gainPPMore", "{0} PP 多い"},
    {"gainNone", "手持ちでは不可"},
    {"ownedBest", "持ち物だけで届く最良: {0}{1}。伸びはそこからの差です。"},
    {"ownedNone", "持ち物だけでは条件を満たすビルドがありません。"},
    {"noHoldings",
     "持ち物が記録されていません。「持ち物…」で持っているものを記録すると、次に手に入れるものを探せ"
     "ます。"},
}};

DialogControl Control(DialogKind kind, std::string name, std::string caption = {}) {
    DialogControl c;
    c.Kind = kind;
    c.Name = std::move(name);
    c.Caption = std::move(caption);
    return c;
}

void AddFreeSection(std::vector<DialogControl>& out) {
    out.push_back(Control(DialogKind::Section, "SearchFreeGroup", "変えてよいもの"));
    DialogControl character = Control(DialogKind::Choice, "SearchCharacter", "キャラ");
    character.Field = "character";
    character.Choices.push_back("表示中のキャラ");
    character.Values.push_back("shown");
    for (const TCharaDef& def : Roster()) {
        character.Choices.emplace_back(def.Caption);
        character.Values.push_back(std::to_string(def.Index));
    }
    character.Choices.push_back("すべてのキャラ");
    character.Values.push_back("any");
    character.Hint = "探索するキャラ。「すべてのキャラ」なら答えごとにキャラを選びます";
    out.push_back(std::move(character));
    out.push_back(Control(DialogKind::Button, "SearchFreeAll", "すべて"));
    out.back().Hint = "すべての部分を変えてよいものにします";
    out.push_back(Control(DialogKind::Button, "SearchFreeNone", "なし"));
    out.back().Hint = "どの部分も今のまま残します";
    constexpr std::string_view kRowNames[kPartGroupCount] = {
        "SearchWearCaption", "SearchCardCaption", "SearchOtherCaption", "SearchSlotUpCaption",
        "SearchClubSlotUpCaption"};
    for (int g = 0; g < kPartGroupCount; ++g) {
        const auto group = static_cast<PartGroup>(g);
        DialogControl row = Control(DialogKind::PartRow, std::string(kRowNames[g]),
                                    std::string(PartGroupCaption(group)));
        row.Group = group;
        out.push_back(std::move(row));
    }
}

void AddConditionSection(std::vector<DialogControl>& out) {
    out.push_back(Control(DialogKind::Section, "SearchConditionGroup", "条件"));
    for (int m = 0; m < kMinimumCount; ++m) {
        const std::string name(MinimumName(m));
        const std::string caption(kMinimumCaptions[m]);
        DialogControl on = Control(DialogKind::Toggle, "SearchMinOn_" + name, caption);
        on.Hint = caption + "に最低値を付けます";
        out.push_back(std::move(on));
        DialogControl value = Control(DialogKind::Number, "SearchMin_" + name);
        value.Field = "min." + name;
        value.Limit = kMinimumLimit;
        value.Suffix = m == kMinDistance ? "y 以上" : " 以上";
        value.AccessibleName = caption + "の最低値";
        value.Switch = "SearchMinOn_" + name;
        out.push_back(std::move(value));
    }
    DialogControl penalty = Control(DialogKind::Toggle, "SearchNoPenalty", "パワーペナルティなし");
    penalty.Field = "noPenalty";
    penalty.Initial = 1;
    penalty.Hint = "パワーが上限を超えてペナルティが付くビルドを答えにしません";
    out.push_back(std::move(penalty));
    DialogControl budgetOn = Control(DialogKind::Toggle, "SearchBudgetOn", "予算");
    budgetOn.Hint = "強化に使う PP の上限を付けます";
    out.push_back(std::move(budgetOn));
    DialogControl budget = Control(DialogKind::Number, "SearchBudget");
    budget.Field = "budget";
    budget.Limit = kBudgetLimit;
    budget.Suffix = " PP";
    budget.Initial = 50'000;
    budget.Step = 1000;
    budget.AccessibleName = "予算";
    budget.Switch = "SearchBudgetOn";
    out.push_back(std::move(budget));
    DialogControl acquire = Control(DialogKind::Choice, "SearchAcquire", "持っていないもの");
    acquire.Field = "acquire";
    acquire.Choices = {"使わない", "1つまで", "2つまで", "3つまで", "制限なし"};
    acquire.Values = {"0", "1", "2", "3", std::string(kAcquireAnyValue)};
    acquire.Hint =
        "答えが持ち物にないものをいくつまで使ってよいか (持ち物は「持ち物…」で記録します)";
    out.push_back(std::move(acquire));
}

void AddGoalSection(std::vector<DialogControl>& out) {
    out.push_back(Control(DialogKind::Section, "SearchGoalGroup", "目的"));
    DialogControl objective = Control(DialogKind::Choice, "SearchObjective");
    objective.Field = "objective";
    objective.AccessibleName = "目的";
    for (int o = 0; o < kObjectiveCount; ++o) {
        objective.Choices.emplace_back(kObjectiveCaptions[o]);
        objective.Values.emplace_back(ObjectiveName(static_cast<SearchObjective>(o)));
    }
    out.push_back(std::move(objective));
    DialogControl view = Control(DialogKind::Choice, "SearchView", "答え");
    view.Field = "distinct";
    view.Choices = {"最良のビルド", "次に手に入れるもの"};
    view.Values = {std::string(DistinctName(SearchDistinct::Figures)),
                   std::string(DistinctName(SearchDistinct::Acquired))};
    view.Hint =
        "次に手に入れるもの: 持っていないものを1つずつ、それで届く最良のビルドと、持ち物だけの"
        "最良からの伸びを並べます";
    out.push_back(std::move(view));
    DialogControl results = Control(DialogKind::Number, "SearchResults", "候補の数");
    results.Field = "results";
    results.Limit = kResultsLimit;
    results.Initial = SearchQuery{}.Results;
    out.push_back(std::move(results));
    DialogControl run = Control(DialogKind::Button, "SearchRun", "探索");
    run.Default = true;
    run.Hint = "条件に合う最良のビルドを探します";
    out.push_back(std::move(run));
    out.push_back(Control(DialogKind::Button, "SearchCancel", "中止"));
    out.push_back(Control(DialogKind::Progress, "SearchProgress"));
    out.back().AccessibleName = "探索の進み具合";
}

void AddAnswerArea(std::vector<DialogControl>& out) {
    out.push_back(Control(DialogKind::Section, "SearchAnswerArea"));
    out.push_back(Control(DialogKind::Status, "SearchStatus"));
    out.push_back(Control(DialogKind::Message, "SearchMessage"));
    out.push_back(Control(DialogKind::Answers, "SearchAnswers"));
    out.back().AccessibleName = "探索の答え";
    out.push_back(Control(DialogKind::Changes, "SearchChanges"));
    out.back().AccessibleName = "選んだ答えの変更点";
    out.push_back(Control(DialogKind::Curve, "SearchCurve"));
    out.back().AccessibleName = "PP と目的の値の関係";
    out.push_back(Control(DialogKind::Button, "SearchApply", "適用"));
    out.back().Hint = "選んだビルドをウィンドウに表示します (元に戻せます)";
    out.push_back(Control(DialogKind::Button, "SearchClose", "閉じる"));
}

SearchDialogDef MakeForm() {
    SearchDialogDef def;
    def.Title = "ビルド探索";
    AddFreeSection(def.Controls);
    AddConditionSection(def.Controls);
    AddGoalSection(def.Controls);
    AddAnswerArea(def.Controls);
    def.Columns = {"順位",   "キャラ", "パワー",     "コントロール", "正確度",    "スピン",
                   "カーブ", "合計",   "ペナルティ", "1W飛距離",     "(パワー)",  "(パワー×2)",
                   "PP",     "変更",   "入手",       "伸び",         "変更の内容"};
    return def;
}

}  // namespace

const SearchDialogDef& SearchDialogForm() {
    static const SearchDialogDef form = MakeForm();
    return form;
}

const DialogControl* FindDialogControl(std::string_view name) {
    for (const DialogControl& control : SearchDialogForm().Controls) {
        if (control.Name == name) {
            return &control;
        }
    }
    return nullptr;
}

std::string_view DialogTextKey(DialogTextId id) {
    return kTexts[static_cast<size_t>(id)].Key;
}

std::string DialogText(DialogTextId id, const std::vector<std::string>& args) {
    const std::string_view text = kTexts[static_cast<size_t>(id)].Text;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t close = text.find('}', i);
        if (text[i] == '{' && close != std::string_view::npos && close == i + 2 &&
            text[i + 1] >= '0' && text[i + 1] <= '9') {
            const auto n = static_cast<size_t>(text[i + 1] - '0');
            out += n < args.size() ? args[n] : std::string();
            i = close;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string GroupedDigits(uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}
