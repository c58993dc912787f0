#pragma once

// Random holdings for the tests: each list owned whole, owned not at all or owned in
// part, entry by entry with a chance of its own, so that every shape of list occurs.

#include <random>
#include <vector>

#include "simulator/holdings_form.h"

// Every list of the holdings dialog, page after page.
inline std::vector<const HoldingsList*> DialogLists() {
    std::vector<const HoldingsList*> lists;
    for (const HoldingsPage& page : HoldingsDialogForm().Pages) {
        for (const HoldingsList& list : page.Lists) {
            lists.push_back(&list);
        }
    }
    return lists;
}

inline THoldings RandomHoldings(std::mt19937& random) {
    THoldings holdings;
    const auto below = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    const int wholeChance = below(101);
    for (const HoldingsList* list : DialogLists()) {
        if (below(100) < wholeChance) {
            continue;
        }
        const int ownedChance = below(4) == 0 ? 0 : below(101);
        for (int32_t e = 0; e < static_cast<int32_t>(list->Entries.size()); ++e) {
            SetEntryOwned(holdings, *list, e, below(100) < ownedChance);
        }
    }
    return holdings;
}
