#include "store.h"

#include <algorithm>

namespace abguess {

namespace {

constexpr Code SMALLEST_CODE = 123;   // 0123
constexpr Code LARGEST_CODE = 9876;

// Zero exactly when two of the four digits are equal.  At most 9^6 in
// magnitude, so it fits a 32-bit integer.
int digit_difference_product(Code v) {
  const int d0 = digit_at(v, 0);
  const int d1 = digit_at(v, 1);
  const int d2 = digit_at(v, 2);
  const int d3 = digit_at(v, 3);
  return (d3 - d2) * (d3 - d1) * (d3 - d0) * (d2 - d1) * (d2 - d0) * (d1 - d0);
}

}  // namespace

void reset(Store& store) {
  store.ln = 0;
  for (Code v = SMALLEST_CODE; v <= LARGEST_CODE; ++v) {
    if (digit_difference_product(v) != 0) {
      store.l[store.ln++] = v;
    }
  }
}

void filter_into(const Store& source, Code g, Score r, Store& kept) {
  // Works in place too: the write index never passes the read index.
  const int live = source.ln;
  int w = 0;
  for (int c = 0; c < live; ++c) {
    if (guess(source.l[c], g) == r) {
      kept.l[w++] = source.l[c];
    }
  }
  kept.ln = w;
}

void filter(Store& store, Code g, Score r) { filter_into(store, g, r, store); }

int find_slot(const Store& store, Code c) {
  // The live codes stand in ascending order.
  const auto live_end = store.l.begin() + store.ln;
  const auto found = std::lower_bound(store.l.begin(), live_end, c);
  return found != live_end && *found == c ? static_cast<int>(found - store.l.begin()) : -1;
}

int count_matching(const Store& store, Code g, Score r) {
  int kept = 0;
  for (int c = 0; c < store.ln; ++c) {
    kept += guess(store.l[c], g) == r ? 1 : 0;
  }
  return kept;
}

}  // namespace abguess
