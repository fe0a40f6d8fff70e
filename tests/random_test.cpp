#include <gtest/gtest.h>

#include "random.h"
#include "store.h"

namespace abguess {
namespace {

TEST(FirstGuessSlotTest, MapsTwoDrawsToASlotOfTheFullStore) {
  Store full;
  reset(full);
  struct Case {
    int r1, r2, slot;
    Code code;
  };
  for (const Case c : {Case{0, 0, 0, 123}, Case{0, 32767, 0, 123}, Case{0, 12345, 0, 123},
                       Case{2, 3, 6, 129}, Case{32767, 32767, 49, 192}, Case{5039, 1, 5039, 9876},
                       Case{5040, 1, 0, 123}}) {
    const int slot = first_guess_slot(c.r1, c.r2, full.ln);
    EXPECT_EQ(slot, c.slot) << c.r1 << " x " << c.r2;
    EXPECT_EQ(full.l[slot], c.code) << c.r1 << " x " << c.r2;
  }
}

TEST(DrawGeneratorTest, DrawsCoverZeroTo32767AndNothingElse) {
  DrawGenerator generator(1);
  int lowest = DRAW_MAX;
  int highest = 0;
  for (int n = 0; n < 1000000; ++n) {
    const int draw = generator.draw();
    ASSERT_GE(draw, 0);
    ASSERT_LE(draw, DRAW_MAX);
    lowest = std::min(lowest, draw);
    highest = std::max(highest, draw);
  }
  EXPECT_EQ(lowest, 0);
  EXPECT_EQ(highest, DRAW_MAX);
}

TEST(DrawGeneratorTest, SameSeedSameDrawsOtherSeedOtherDraws) {
  DrawGenerator first(1765000000), again(1765000000), other(1765000001);
  int differing = 0;
  for (int n = 0; n < 100; ++n) {
    const int draw = first.draw();
    EXPECT_EQ(draw, again.draw());
    differing += draw != other.draw() ? 1 : 0;
  }
  EXPECT_GT(differing, 90);
}

}  // namespace
}  // namespace abguess
