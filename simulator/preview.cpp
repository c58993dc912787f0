#include "simulator/preview.h"

#include <array>
#include <string_view>

#include "engine/errors.h"
#include "simulator/holdings_form.h"

namespace {

constexpr std::array<std::string_view, 7> kFigureCaptions = {
    "パワー",          "コントロール", "正確度",
    "スピン",          "カーブ",       "ペナルティ(コントロール・正確度)",
    "1Wの飛距離(通常)"};

// The label text of a figure. Label19 always shows what Label18 shows: both carry the
// one shortfall of power against its limit.
const std::string& FigureText(const TDisplay& display, PreviewFigure figure) {
    switch (figure) {
        case PreviewFigure::Penalty:
            return display.ControlPenalty.Text;
        case PreviewFigure::DistanceNormal:
            return display.DistanceNormalText;
        default:
            return display.Last[static_cast<size_t>(figure)].Text;
    }
}

// An empty penalty label means no penalty.
std::string_view Shown(PreviewFigure figure, const std::string& text) {
    if (figure == PreviewFigure::Penalty && text.empty()) {
        return "なし";
    }
    return text;
}

}  // namespace

PreviewResult Previewer::Preview(const TSimulator& sim, ListRef list, int32_t entry) {
    PreviewResult preview;
    scratch_ = sim;
    try {
        OpenList(scratch_, list);
    } catch (const ESimError&) {
        // The opening's failure belongs to the opening, which the user has seen.
    }
    try {
        PickEntry(scratch_, list, entry);
    } catch (const ESimError& error) {
        preview.Error = error.what();
        return preview;
    }
    for (size_t f = 0; f < kFigureCaptions.size(); ++f) {
        const auto figure = static_cast<PreviewFigure>(f);
        const std::string& before = FigureText(sim.Display, figure);
        const std::string& after = FigureText(scratch_.Display, figure);
        if (before != after) {
            preview.Lines.push_back({figure, before, after});
        }
    }
    return preview;
}

PreviewResult PreviewPick(const TSimulator& sim, ListRef list, int32_t entry) {
    Previewer previewer;
    return previewer.Preview(sim, list, entry);
}

std::string PreviewText(const PreviewResult& preview) {
    if (!preview.Error.empty()) {
        return preview.Error + ".";
    }
    if (preview.Lines.empty()) {
        return "変化なし";
    }
    std::string text;
    for (const PreviewLine& line : preview.Lines) {
        if (!text.empty()) {
            text += '\n';
        }
        text += kFigureCaptions[static_cast<size_t>(line.Figure)];
        text += ' ';
        text += Shown(line.Figure, line.Old);
        text += " → ";
        text += Shown(line.Figure, line.New);
    }
    return text;
}

std::string PreviewText(const PreviewResult& preview, const THoldings& holdings, ListRef list,
                        int32_t entry) {
    if (OwnsListEntry(holdings, list, entry)) {
        return PreviewText(preview);
    }
    return HoldingsText(HoldingsTextId::PreviewUnowned) + "\n" + PreviewText(preview);
}
