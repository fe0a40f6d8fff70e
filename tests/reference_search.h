// The referee of the exact search: the plain definition of a set's cost,
// evaluated over every guess and every set with no bound, no ordering and
// no symmetry.  Remembering each set's cost changes nothing it computes.
// Fast enough for small games only.
#pragma once

#include <cstdint>

#include "search.h"
#include "search_game.h"

namespace abguess::testing {

// Least total over every secret, starting with the first code as the guess.
std::int64_t plain_least_total(const SearchGame& game, Objective objective);

}  // namespace abguess::testing
