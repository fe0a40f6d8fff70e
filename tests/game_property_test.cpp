// Properties of whole games played through the dialogue: honest answers
// always find the secret; refused answers, however many and whatever kind,
// change nothing but the refusal lines they cause; answers taken back and
// typed again leave the game as it was.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "classic_strategy.h"
#include "game.h"
#include "honest_game.h"

namespace abguess {
namespace {

using testing::answer_text;
using testing::contradicting_answer;
using testing::guess_block;
using testing::refusal_block;
using testing::result_line;

// More answers than any game needs: past them the user falls silent, so a
// game that never ends fails instead of hanging.
constexpr int MOST_ANSWERS = 20;

// A user who knows the secret and answers whatever guess was shown last,
// honestly, one line per read.
class HonestUser : public std::streambuf {
 public:
  HonestUser(const std::ostringstream& shown, Code secret) : shown_(shown), secret_(secret) {}

 protected:
  int_type underflow() override {
    const std::string_view text = shown_.view();
    const std::size_t last = text.rfind(GUESS_PREFIX);
    if (last == std::string_view::npos || ++answers_ > MOST_ANSWERS) return traits_type::eof();
    const std::string_view digits = text.substr(last + GUESS_PREFIX.size(), CODE_DIGITS);
    const Code g = std::stoi(std::string(digits));
    line_ = answer_text(guess(secret_, g)) + "\n";
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_[0]);
  }

 private:
  const std::ostringstream& shown_;
  Code secret_;
  std::string line_;
  int answers_ = 0;
};

std::vector<Code> every_code() {
  Store full;
  reset(full);
  return {full.l.begin(), full.l.begin() + full.ln};
}

TEST(WholeGameProperty, HonestAnswersNameEverySecretFromARandomFirstGuess) {
  const std::vector<Code> codes = every_code();
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> any_slot(0, CODE_COUNT - 1);
  std::ostringstream out, err;
  std::istream in(nullptr);
  const auto classic = std::make_unique<ClassicStrategy>();
  const auto game = std::make_unique<Game>(in, out, err, *classic);
  for (const Code secret : codes) {
    out.str("");
    HonestUser user(out, secret);
    in.rdbuf(&user);
    const int first_slot = any_slot(random);
    ASSERT_EQ(game->AI(first_slot), GameEnd::Solved) << "secret " << secret << " slot " << first_slot;
    const std::string_view text = out.view();
    const std::string_view result = text.substr(text.rfind(RESULT_PREFIX));
    EXPECT_TRUE(result.starts_with(std::string(RESULT_PREFIX) + code_text(secret).data() + "."))
        << "secret " << secret << " slot " << first_slot << ": " << result;
    EXPECT_EQ(game->store().l[0], secret);
  }
  EXPECT_EQ(err.str(), "");
}

// Noise typed before an honest answer, and the reason the game must give.
struct Noise {
  std::string typed;
  std::string_view reason;
};

class NoisyGame {
 public:
  explicit NoisyGame(std::mt19937& random) : random_(random) {}

  // Refused answers a user might type to guess g with `store` live.
  Noise pick_noise(const Store& store, Code g) {
    static const std::vector<std::string> junk = {
        "hello", "x", "1 2 3", "1B 2A", "1 2x", "- 1 2", "99999999999 0", "0 -2147483649",
        "1 2 junk", "\t?", std::string("1\0 2", 4), "\xff\xfe"};
    static const std::vector<std::string> impossible = {"5 7", "3 1", "4 4", "-1 0",
                                                        "0 5", "2 3", "1 9", "2147483647 1"};
    switch (pick(3)) {
      case 0:
        return {junk[pick(junk.size())] + "\n", NOT_AN_ANSWER};
      case 1:
        return {impossible[pick(impossible.size())] + "\n", IMPOSSIBLE_ANSWER};
      default: {
        const Score answer = contradicting_answer(store, g);
        if (answer < 0) return {"junk\n", NOT_AN_ANSWER};
        return {answer_text(answer) + "\n", CONTRADICTING_ANSWER};
      }
    }
  }

  // The honest answer in one of the forms a user may type it.
  std::string honest_answer(Score score) {
    const std::string a = std::to_string(score / 10);
    const std::string b = std::to_string(score % 10);
    switch (pick(6)) {
      case 0: return a + " " + b + "\n";
      case 1: return a + "A" + b + "B\n";
      case 2: return a + "a " + b + "b\n";
      case 3: return a + "\n\n" + b + "\n";
      case 4: return "  +" + a + "\t00" + b + " \r\n";
      default: return "0 " + std::to_string(score) + "\n";  // only A * 10 + B counts
    }
  }

  std::size_t pick(std::size_t choices) {
    return std::uniform_int_distribution<std::size_t>(0, choices - 1)(random_);
  }

 private:
  std::mt19937& random_;
};

TEST(WholeGameProperty, RefusedAnswersMixedInChangeOnlyTheRefusalLines) {
  constexpr int GAMES = 300;
  constexpr std::size_t MOST_NOISE_PER_GUESS = 3;
  const std::vector<Code> codes = every_code();
  std::mt19937 random(4);
  NoisyGame noisy(random);
  for (int n = 0; n < GAMES; ++n) {
    const Code first = codes[noisy.pick(codes.size())];
    const Code secret = codes[noisy.pick(codes.size())];
    const testing::HonestGame clean = testing::play_honestly(first, secret);
    std::string typed, expected;
    for (std::size_t turn = 0; turn < clean.guesses.size(); ++turn) {
      const Code g = clean.guesses[turn];
      expected += guess_block(g);
      for (std::size_t noise = noisy.pick(MOST_NOISE_PER_GUESS + 1); noise > 0; --noise) {
        const Noise refused = noisy.pick_noise(clean.stores[turn], g);
        typed += refused.typed;
        expected += refusal_block(refused.reason);
      }
      typed += noisy.honest_answer(guess(secret, g));
    }
    expected += result_line(clean.named, static_cast<int>(clean.guesses.size()));

    const testing::PlayedGame played = testing::play_typed(first, typed);
    ASSERT_EQ(played.end, GameEnd::Solved) << "typed:\n" << typed;
    ASSERT_EQ(played.out, expected) << "typed:\n" << typed;
    EXPECT_EQ(clean.named, secret);
    EXPECT_EQ(played.err, "");
  }
}

// Random games in which the user now and then takes back the last k
// answers and types them again: every undo shows the guess taken back
// again, and the game goes on exactly as the clean one does.
TEST(WholeGameProperty, TakingAnswersBackAndRetypingThemEndsLikeTheCleanGame) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> any_slot(0, CODE_COUNT - 1);
  std::bernoulli_distribution take_back(0.4);
  const std::vector<Code> codes = every_code();
  for (int round = 0; round < 300; ++round) {
    const Code first = codes[any_slot(random)];
    const Code secret = codes[any_slot(random)];
    const testing::HonestGame clean = testing::play_honestly(first, secret);
    const std::size_t turns = clean.guesses.size();
    std::string typed;
    std::string expected = guess_block(clean.guesses[0]);
    for (std::size_t t = 0; t < turns; ++t) {
      typed += answer_text(guess(secret, clean.guesses[t])) + "\n";
      if (t + 1 == turns) break;
      expected += guess_block(clean.guesses[t + 1]);
      if (!take_back(random)) continue;
      // Take back answers t, t-1, ..., t-k+1, then type them again.
      const std::size_t k = std::uniform_int_distribution<std::size_t>(1, t + 1)(random);
      for (std::size_t i = 0; i < k; ++i) {
        typed += "undo\n";
        expected += guess_block(clean.guesses[t - i]);
      }
      for (std::size_t i = t + 1 - k; i <= t; ++i) {
        typed += answer_text(guess(secret, clean.guesses[i])) + "\n";
        expected += guess_block(clean.guesses[i + 1]);
      }
    }
    expected += result_line(clean.named, static_cast<int>(turns));

    const testing::PlayedGame played = testing::play_typed(first, typed);
    ASSERT_EQ(played.end, GameEnd::Solved) << "typed:\n" << typed;
    ASSERT_EQ(played.out, expected) << "typed:\n" << typed;
    EXPECT_EQ(clean.named, secret);
  }
}

}  // namespace
}  // namespace abguess
