#include "reference_chooser.h"

#include "chooser.h"

namespace abguess::testing {

int reference_choose(const Store& store) {
  const auto& l = store.l;
  const int ln = store.ln;
  int minival = NO_TOTAL_YET;
  const int add = ln / MAXIMUM + 1;
  int mini = 0;
  for (int i = 0; i < ln; i += add) {
    int maxjval = 0;
    for (int j = 0; j < ln; j += add) {
      const Score gs = guess(l[i], l[j]);
      for (int k = 0; k < ln; k += add) {
        if (guess(l[j], l[k]) == gs) {
          ++maxjval;
          if (maxjval == minival) break;
        }
      }
      if (maxjval == minival) break;
    }
    if (maxjval < minival) {
      minival = maxjval;
      mini = i;
    }
  }
  return mini;
}

}  // namespace abguess::testing
