#pragma once

// The answers a search has so far, told to a face while the search runs.

#include <chrono>
#include <span>
#include <vector>

#include "search/search.h"
#include "search/search_model.h"

// Tells a face (SearchControl::Found) the best answers found so far while a search runs:
// first about 150 ms after the start, then at most every 200 ms, from the calling thread.
class SoFar {
public:
    using Clock = std::chrono::steady_clock;

    SoFar(const SearchModel& model, const SearchControl* control, const SearchResult& result,
          SearchObjective objective)
        : model_(model),
          control_(control),
          result_(result),
          objective_(objective),
          last_(Clock::now() - std::chrono::milliseconds(50)),
          hook_([this](std::span<const FoundBuild> builds) { Answers(builds); }) {}

    // The hook for a walk whose answers so far are the search's.
    const SearchModel::FoundSoFar* Hook() const {
        return control_ != nullptr && control_->Found ? &hook_ : nullptr;
    }

    void Answers(std::span<const FoundBuild> builds) {
        if (Due()) {
            answers_.assign(builds.begin(), builds.end());
            Tell();
        }
    }

    // The answers are known; the curve's steps so far, from its top down.
    void Curve(std::span<const FoundBuild> answers, const std::vector<CurveStep>& topDown) {
        if (Hook() != nullptr && Due()) {
            answers_.assign(answers.begin(), answers.end());
            steps_.assign(topDown.rbegin(), topDown.rend());
            Tell();
        }
    }

private:
    bool Due() const { return Clock::now() - last_ >= std::chrono::milliseconds(200); }

    void Tell() {
        SearchResult soFar;
        soFar.CurrentBuild = result_.CurrentBuild;
        soFar.Current = result_.Current;
        soFar.CurrentValue = result_.CurrentValue;
        soFar.Nodes = result_.Nodes;
        for (const FoundBuild& found : answers_) {
            soFar.Answers.push_back(model_.Answer(found, objective_));
        }
        soFar.Curve = steps_;
        control_->Found(soFar);
        last_ = Clock::now();
    }

    const SearchModel& model_;
    const SearchControl* control_;
    const SearchResult& result_;
    SearchObjective objective_;
    Clock::time_point last_;
    std::vector<FoundBuild> answers_;
    std::vector<CurveStep> steps_;
    SearchModel::FoundSoFar hook_;
};
