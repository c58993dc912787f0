#pragma once

// When no build meets every minimum: the fewest minimums to give up, and how far each
// minimum reaches once they are given up. One of the passes of a search (schedule.cpp).

#include "search/search_model.h"

// Fills result.Reaches for a query that no build meets, adding the walks' nodes to
// result.Nodes; progress is reported from `progressFrom` on. False where the search was
// cancelled: the reaches are then left empty.
bool GiveUpPass(SearchModel& model, const SearchQuery& query, const SearchControl* control,
                double progressFrom, SearchResult& result);
