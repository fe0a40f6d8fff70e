// The choosing pass weighed step by step, every (i, j, k) triple of sampled
// codes: slow (cubic) but plainly right.  The product's pass must choose
// exactly the same slot on every store.
#pragma once

#include "store.h"

namespace abguess::testing {

int reference_choose(const Store& store);

}  // namespace abguess::testing
