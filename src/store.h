// The candidate store: every code still consistent with the answers so far.
//
// The live codes stand in slots 0 .. ln - 1 in ascending order; the filter
// step keeps the order of what it keeps, so they stay ascending.  Slots from
// ln upward keep whatever they last held.  The store is a fixed array, so a
// game needs no heap.
#pragma once

#include <array>

#include "code.h"

namespace abguess {

// Capacity of a store: room for all 5040 codes with some to spare.
inline constexpr int MAX = 5100;

// Number of codes of four different digits, 0123 to 9876.
inline constexpr int CODE_COUNT = 5040;

struct Store {
  std::array<Code, MAX> l{};
  int ln = 0;
};

// Fills the store with every code of four different digits, ascending.
void reset(Store& store);

// The filter step: keeps, in order, the live codes c with guess(c, g) == r.
void filter(Store& store, Code g, Score r);

// The same, writing what it keeps into `kept`, which may be `source` itself.
void filter_into(const Store& source, Code g, Score r, Store& kept);

// Slot of code c among the live codes, or -1 when it is not live.
int find_slot(const Store& store, Code c);

// How many live codes the filter step with g and r would keep.
int count_matching(const Store& store, Code g, Score r);

}  // namespace abguess
