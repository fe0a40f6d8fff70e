#include "search.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace abguess {

namespace {

constexpr int UNBOUNDED = std::numeric_limits<int>::max() / 4;

// Guesses sorted best first before any is searched; more as needed.
constexpr std::size_t FIRST_SORTED_BLOCK = 16;

// Sets this small are first tried with their own codes as guesses.
constexpr int SETTLED_BY_CANDIDATES = 2 * MAX_ANSWER_CLASSES;

std::uint64_t mix64(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

struct SetKey {
  std::uint64_t first;
  std::uint64_t second;
  bool operator==(const SetKey&) const = default;
};

struct SetKeyHash {
  std::size_t operator()(const SetKey& key) const { return static_cast<std::size_t>(key.first); }
};

// What is known of a set: its cost exactly (with a guess that reaches it),
// or a lower bound.
struct Known {
  int value = 0;
  bool exact = false;
  int best_guess = -1;
};

// A guess weighed at a node before it is searched.
struct Weighed {
  int lower;     // |S| plus each part's size bound
  int spread;    // sum of squared part sizes: smaller splits finer
  int guess;
  bool operator<(const Weighed& other) const {
    if (lower != other.lower) return lower < other.lower;
    if (spread != other.spread) return spread < other.spread;
    return guess < other.guess;
  }
};

// One thread's search, with its own memory of solved sets.
class Searcher {
 public:
  Searcher(const SearchGame& game, Objective objective, const std::vector<SetKey>& code_keys)
      : game_(game), objective_(objective), scanner_(game, objective), code_keys_(code_keys),
        classes_(game.answer_classes()), exact_(game.exact_class()) {
    arena_.resize(static_cast<std::size_t>(game.size()) * 16);
  }

  // The cost of `set` when it is below `beta` (then *best_guess, if given,
  // is a guess reaching it), or else a lower bound that is at least beta.
  int solve(const CodeIndex* set, int n, int beta, int parts_limit, std::vector<int>& history,
            int* best_guess);

  // The cost of guessing g at `set` when it is below `beta`, or else a
  // lower bound that is at least beta.  `parts` is room for n codes.
  int guess_cost(const CodeIndex* set, int n, int g, int beta, int parts_limit, std::vector<int>& history,
                 CodeIndex* parts);

  // Writes the decisions below `set` into `out`; returns the index of the
  // node deciding `set`, or NO_NODE when nothing is left to decide.
  std::int32_t extract(const CodeIndex* set, int n, std::vector<int>& history, SearchStrategy& out);
  int deterministic_choice(const CodeIndex* set, int n, std::vector<int>& history);
  // The same, with g as the guess at `set`.
  std::int32_t extract_guessing(const CodeIndex* set, int n, int g, std::vector<int>& history, SearchStrategy& out);

  // The guesses to weigh at `set` after `history`, best first by their
  // size bounds, with the parts limit for the sets below.
  std::vector<int> ordered_guesses(const CodeIndex* set, int n, const std::vector<int>& history, int& parts_limit);

  std::uint64_t positions() const { return positions_; }

 private:
  bool named() const { return objective_ == Objective::Named; }

  int part_bound(int size, AnswerClass answer, int parts_limit) const {
    return scanner_.part_bound(size, answer, parts_limit);
  }
  bool settled(int size, AnswerClass answer) const { return scanner_.settled(size, answer); }

  SetKey key_of(const CodeIndex* set, int n) const {
    SetKey key{0, 0};
    for (int i = 0; i < n; ++i) {
      key.first += code_keys_[set[i]].first;
      key.second += code_keys_[set[i]].second;
    }
    return key;
  }

  // Working lists of one node, kept per depth so a node allocates nothing.
  struct Scratch {
    std::vector<int> guesses;
    std::vector<int> guesses_history;  // the history `guesses` was made for
    bool guesses_valid = false;
    std::vector<std::uint64_t> splits;  // packed, one per guess
    std::vector<Weighed> order;
  };
  Scratch& scratch_at(std::size_t depth) {
    while (scratch_.size() <= depth) scratch_.push_back(std::make_unique<Scratch>());
    return *scratch_[depth];
  }

  // The guesses worth weighing at a node: one of each set of guesses that a
  // relabelling keeping the history maps onto each other.  The parts of one
  // guess's split share their history, so the list is kept for the next.
  const std::vector<int>& guesses_to_try(const std::vector<int>& history, Scratch& scratch) const {
    if (scratch.guesses_valid && scratch.guesses_history == history) return scratch.guesses;
    scratch.guesses.clear();
    const HistorySymmetry symmetry(game_, history);
    for (int g = 0; g < game_.size(); ++g) {
      if (symmetry.is_canonical(g)) scratch.guesses.push_back(g);
    }
    scratch.guesses_history = history;
    scratch.guesses_valid = true;
    return scratch.guesses;
  }

  // Splits `set` by the answers to g into the arena at `out`, grouped by
  // answer; part_start[a] .. part_start[a + 1] is answer a's part.
  void split(int g, const CodeIndex* set, int n, CodeIndex* out,
             std::array<int, MAX_ANSWER_CLASSES + 1>& part_start) const;

  std::uint64_t partition_hash(int g, const CodeIndex* set, int n) const;

  CodeIndex* allocate(int n) {
    if (arena_top_ + n > arena_.size()) throw std::length_error("search arena exhausted");
    CodeIndex* block = arena_.data() + arena_top_;
    arena_top_ += n;
    return block;
  }

  const SearchGame& game_;
  Objective objective_;
  SplitScanner scanner_;
  const std::vector<SetKey>& code_keys_;
  int classes_;
  AnswerClass exact_;
  std::unordered_map<SetKey, Known, SetKeyHash> memory_;
  std::vector<CodeIndex> arena_;
  std::size_t arena_top_ = 0;
  std::vector<std::unique_ptr<Scratch>> scratch_;
  std::uint64_t positions_ = 0;
};

void Searcher::split(int g, const CodeIndex* set, int n, CodeIndex* out,
                     std::array<int, MAX_ANSWER_CLASSES + 1>& part_start) const {
  const AnswerClass* row = game_.answers_to(g);
  std::array<int, MAX_ANSWER_CLASSES + 1> fill{};
  for (int i = 0; i < n; ++i) ++fill[row[set[i]] + 1];
  for (int a = 0; a < classes_; ++a) fill[a + 1] += fill[a];
  part_start = fill;
  for (int i = 0; i < n; ++i) out[fill[row[set[i]]]++] = set[i];
}

// Two guesses that split the set into the same parts cost the same, whatever
// the answers are called.  Named: where the guess itself falls is no matter
// either; Guessed: it is, since naming a candidate saves a guess.
std::uint64_t Searcher::partition_hash(int g, const CodeIndex* set, int n) const {
  std::array<std::uint8_t, MAX_ANSWER_CLASSES> label{};
  const AnswerClass* row = game_.answers_to(g);
  std::uint8_t next_label = 1;
  std::uint64_t hash = named() ? 0 : mix64(row[g] == exact_ ? 1 : 2);
  for (int i = 0; i < n; ++i) {
    std::uint8_t& l = label[row[set[i]]];
    if (l == 0) l = next_label++;
    if (!named() && set[i] == g) l = 0xFF;  // the guess's own part is a singleton, marked
    hash = mix64(hash ^ l);
  }
  return hash;
}

int Searcher::solve(const CodeIndex* set, int n, int beta, int parts_limit, std::vector<int>& history,
                    int* best_guess) {
  if (n == 0) return 0;
  if (n <= 2) {
    if (best_guess != nullptr) *best_guess = set[0];
    if (n == 1) return named() ? 0 : 1;
    return named() ? 2 : 3;
  }
  const SetKey key = key_of(set, n);
  const auto remembered = memory_.find(key);
  int known_lower = 0;
  if (remembered != memory_.end()) {
    const Known& known = remembered->second;
    if (known.exact || known.value >= beta) {
      if (known.exact && best_guess != nullptr) *best_guess = known.best_guess;
      return known.value;
    }
    known_lower = known.value;
  }
  // Nothing can cost less than the size bound: when even that reaches beta,
  // the set needs no look at all.
  int floor = std::max(known_lower, scanner_.bounds().of(n, parts_limit));
  if (floor >= beta) return floor;
  ++positions_;

  // A guess whose parts all need no search, and that costs no more than the
  // floor, is the best there is.  Small sets mostly end here, with one of
  // their own codes, before every guess is weighed.
  int best_settled = UNBOUNDED;
  int best_settled_guess = -1;
  const auto consider_settled = [&](const SplitSummary& split, int g) {
    if (split.parts > 1 && split.settled_cost != SplitSummary::UNSETTLED && split.settled_cost < best_settled) {
      best_settled = split.settled_cost;
      best_settled_guess = g;
    }
  };
  const auto settle = [&]() {
    memory_[key] = Known{best_settled, true, best_settled_guess};
    if (best_guess != nullptr) *best_guess = best_settled_guess;
    return best_settled;
  };
  if (n <= SETTLED_BY_CANDIDATES) {
    for (int i = 0; i < n; ++i) {
      consider_settled(scanner_.summarise(set[i], set, n, parts_limit), set[i]);
      if (best_settled <= floor) return settle();
    }
    // Guessed: no candidate splits the set into single codes, so every guess
    // leaves some secret two more guesses away: at least 2n in all.
    if (!named()) floor = std::max(floor, 2 * n);
    if (best_settled <= floor) return settle();
  }

  // Weigh every guess that is not a relabelling of another by its split.
  Scratch& scratch = scratch_at(history.size());
  const std::vector<int>& guesses = guesses_to_try(history, scratch);
  const int most_parts = scanner_.scan(set, n, parts_limit, guesses, scratch.splits);
  const int child_parts_limit = std::min(parts_limit, most_parts);
  // Named: no guess splits the set into single codes, so some part holds two.
  if (named() && most_parts < n) floor = std::max(floor, n + 2);
  // Only guesses whose bound is below beta can matter; the least bound of
  // the others is what this node can claim if none of them wins.
  int proven_floor = UNBOUNDED;  // least lower bound among guesses that failed
  std::vector<Weighed>& order = scratch.order;
  order.clear();
  for (std::size_t i = 0; i < guesses.size(); ++i) {
    const int lower = SplitScanner::lower_of(scratch.splits[i], n);
    if (lower >= beta) {
      proven_floor = std::min(proven_floor, lower);
      continue;
    }
    const SplitSummary split = scanner_.unpack(scratch.splits[i], n);
    if (split.parts <= 1) continue;  // a guess that splits nothing is wasted
    consider_settled(split, guesses[i]);
    order.push_back({split.lower, split.spread, guesses[i]});
  }
  if (best_settled <= floor) return settle();
  int node_lower = proven_floor;
  for (const Weighed& w : order) node_lower = std::min(node_lower, w.lower);
  node_lower = std::max(floor, node_lower);
  if (node_lower >= beta) {
    memory_[key] = Known{node_lower, false, -1};
    return node_lower;
  }

  // Mostly only the first few guesses are searched before the bounds cut
  // the rest off: sort a block at a time, as far as the loop gets.
  std::size_t sorted_end = 0;
  const auto sort_up_to = [&order, &sorted_end](std::size_t needed) {
    if (needed <= sorted_end) return;
    const std::size_t block_end = std::min(order.size(), std::max(needed, 4 * sorted_end + FIRST_SORTED_BLOCK));
    std::partial_sort(order.begin() + static_cast<std::ptrdiff_t>(sorted_end),
                      order.begin() + static_cast<std::ptrdiff_t>(block_end), order.end());
    sorted_end = block_end;
  };

  int best = beta;
  int chosen = -1;
  std::unordered_set<std::uint64_t> splits_tried;
  CodeIndex* parts = allocate(n);
  for (std::size_t i = 0; i < order.size(); ++i) {
    sort_up_to(i + 1);
    const Weighed& candidate = order[i];
    if (candidate.lower >= best) {
      proven_floor = std::min(proven_floor, candidate.lower);
      break;  // every guess after it is bounded at least as high
    }
    if (!splits_tried.insert(partition_hash(candidate.guess, set, n)).second) continue;
    const int total = guess_cost(set, n, candidate.guess, best, child_parts_limit, history, parts);
    if (total < best) {
      best = total;
      chosen = candidate.guess;
    } else {
      proven_floor = std::min(proven_floor, total);
    }
  }
  arena_top_ -= n;

  if (chosen >= 0) {
    memory_[key] = Known{best, true, chosen};
    if (best_guess != nullptr) *best_guess = chosen;
    return best;
  }
  const int lower = std::max(node_lower, proven_floor);
  memory_[key] = Known{lower, false, -1};
  return lower;
}

std::vector<int> Searcher::ordered_guesses(const CodeIndex* set, int n, const std::vector<int>& history,
                                          int& parts_limit) {
  Scratch scratch;
  const std::vector<int>& guesses = guesses_to_try(history, scratch);
  const int most_parts = scanner_.scan(set, n, scanner_.bounds().max_parts(), guesses, scratch.splits);
  parts_limit = std::min(scanner_.bounds().max_parts(), most_parts);
  std::vector<Weighed> order;
  for (std::size_t i = 0; i < guesses.size(); ++i) {
    const SplitSummary split = scanner_.unpack(scratch.splits[i], n);
    if (split.parts > 1) order.push_back({split.lower, split.spread, guesses[i]});
  }
  std::sort(order.begin(), order.end());
  std::vector<int> ordered;
  for (const Weighed& w : order) ordered.push_back(w.guess);
  return ordered;
}

int Searcher::guess_cost(const CodeIndex* set, int n, int g, int beta, int parts_limit, std::vector<int>& history,
                         CodeIndex* parts) {
  std::array<int, MAX_ANSWER_CLASSES + 1> start{};
  split(g, set, n, parts, start);
  // Smallest parts first: they are solved cheaply, and their exact costs,
  // above their size bounds, leave a tighter budget for the large parts,
  // whose searches are the expensive ones.
  std::array<int, MAX_ANSWER_CLASSES> by_size{};
  int open = 0;
  for (int a = 0; a < classes_; ++a) {
    const int size = start[a + 1] - start[a];
    if (size > 0 && !settled(size, static_cast<AnswerClass>(a))) by_size[open++] = a;
  }
  std::sort(by_size.begin(), by_size.begin() + open,
            [&start](int x, int y) { return start[x + 1] - start[x] < start[y + 1] - start[y]; });
  // What is already known of the parts, from earlier searches, tightens
  // the guess's bound before any part is searched.
  std::array<int, MAX_ANSWER_CLASSES> part_lower{};
  int total = n;
  for (int a = 0; a < classes_; ++a) {
    const int size = start[a + 1] - start[a];
    if (size == 0) continue;
    part_lower[a] = part_bound(size, static_cast<AnswerClass>(a), parts_limit);
    if (!settled(size, static_cast<AnswerClass>(a))) {
      const auto known = memory_.find(key_of(parts + start[a], size));
      if (known != memory_.end()) part_lower[a] = std::max(part_lower[a], known->second.value);
    }
    total += part_lower[a];
  }
  history.push_back(g);
  for (int i = 0; i < open && total < beta; ++i) {
    const int a = by_size[i];
    const int size = start[a + 1] - start[a];
    const int bound = part_lower[a];
    const int cost = solve(parts + start[a], size, beta - (total - bound), parts_limit, history, nullptr);
    total += cost - bound;
  }
  history.pop_back();
  return total;
}

std::int32_t Searcher::extract(const CodeIndex* set, int n, std::vector<int>& history, SearchStrategy& out) {
  if (n == 0 || (named() && n == 1)) return StrategyNode::NO_NODE;
  return extract_guessing(set, n, deterministic_choice(set, n, history), history, out);
}

// The search keeps whichever best guess it met first, and what it met first
// can depend on what an earlier search left in memory, and so on the
// threads' timing.  The strategy written takes, at every set, the first
// guess in a fixed order that reaches the set's least cost, so the same
// search always writes the same strategy.
int Searcher::deterministic_choice(const CodeIndex* set, int n, std::vector<int>& history) {
  if (n <= 2) return set[0];
  const int least = solve(set, n, UNBOUNDED, scanner_.bounds().max_parts(), history, nullptr);
  int parts_limit = 0;
  const std::vector<int> ordered = ordered_guesses(set, n, history, parts_limit);
  std::vector<CodeIndex> room(n);
  for (const int g : ordered) {
    if (guess_cost(set, n, g, least + 1, parts_limit, history, room.data()) == least) return g;
  }
  throw std::logic_error("no guess reaches the least cost the search found");
}

std::int32_t Searcher::extract_guessing(const CodeIndex* set, int n, int g, std::vector<int>& history,
                                        SearchStrategy& out) {
  const auto index = static_cast<std::int32_t>(out.nodes.size());
  StrategyNode node;
  node.guess = g;
  node.next.fill(StrategyNode::NO_NODE);
  out.nodes.push_back(node);
  std::vector<CodeIndex> parts(n);
  std::array<int, MAX_ANSWER_CLASSES + 1> start{};
  split(g, set, n, parts.data(), start);
  history.push_back(g);
  for (int a = 0; a < classes_; ++a) {
    const int size = start[a + 1] - start[a];
    if (size == 0 || (!named() && a == exact_)) continue;
    const std::int32_t child = extract(parts.data() + start[a], size, history, out);
    out.nodes[index].next[a] = child;
  }
  history.pop_back();
  return index;
}

}  // namespace

std::int64_t StrategyCount::total() const {
  std::int64_t sum = 0;
  for (std::size_t g = 0; g < secrets_by_guesses.size(); ++g) sum += static_cast<std::int64_t>(g) * secrets_by_guesses[g];
  return sum;
}

StrategyCount count_guesses(const SearchGame& game, const SearchStrategy& strategy, Objective objective) {
  StrategyCount count;
  // Named: each (decision, answer) with nothing after it must be reached by
  // one secret alone, or the strategy names a code it cannot tell apart.
  std::map<std::pair<int, int>, int> secrets_at_leaf;
  const int deepest = static_cast<int>(strategy.nodes.size()) + 1;
  for (int secret = 0; secret < game.size(); ++secret) {
    int node = 0;
    int guesses = 0;
    for (;;) {
      if (node < 0 || node >= static_cast<int>(strategy.nodes.size()) || guesses > deepest) {
        throw std::logic_error("the strategy has no decision for a secret it must play");
      }
      const StrategyNode& decision = strategy.nodes[node];
      ++guesses;
      const AnswerClass answer = game.answer(decision.guess, secret);
      if (objective == Objective::Guessed && answer == game.exact_class()) break;
      const std::int32_t next = decision.next[answer];
      if (next == StrategyNode::NO_NODE) {
        if (objective == Objective::Guessed) throw std::logic_error("the strategy stops before guessing a secret");
        ++secrets_at_leaf[{node, answer}];
        break;
      }
      node = next;
    }
    if (static_cast<int>(count.secrets_by_guesses.size()) <= guesses) count.secrets_by_guesses.resize(guesses + 1, 0);
    ++count.secrets_by_guesses[guesses];
  }
  for (const auto& [leaf, secrets] : secrets_at_leaf) {
    if (secrets != 1) throw std::logic_error("the strategy names a code while others are still possible");
  }
  return count;
}

SearchReport search_optimal(const SearchGame& game, Objective objective, int first, const SearchOptions& options) {
  std::vector<SetKey> code_keys(game.size());
  for (int c = 0; c < game.size(); ++c) {
    code_keys[c] = SetKey{mix64(2 * static_cast<std::uint64_t>(c) + 1), mix64(~static_cast<std::uint64_t>(c) * 3)};
  }
  const int thread_count = std::max(1, options.threads);
  std::vector<std::unique_ptr<Searcher>> searchers;
  for (int t = 0; t < thread_count; ++t) searchers.push_back(std::make_unique<Searcher>(game, objective, code_keys));

  // The first guess splits every code by its answer.  Each part is solved
  // by trying each second guess (up to relabelling) as a task of its own,
  // so both threads work on the largest parts at once; a part's best total
  // so far, shared, is every task's budget.
  std::vector<CodeIndex> all(game.size());
  for (int c = 0; c < game.size(); ++c) all[c] = static_cast<CodeIndex>(c);
  struct Part {
    std::vector<CodeIndex> codes;
    std::vector<int> second_guesses;  // best first
    int parts_limit = 0;
    std::atomic<int> best{UNBOUNDED};
    int best_guess = -1;
    int best_searcher = 0;
    std::atomic<int> tasks_left{0};
  };
  std::vector<Part> parts(game.answer_classes());
  for (const CodeIndex c : all) parts[game.answer(first, c)].codes.push_back(c);
  struct Task {
    int answer;
    int second_guess;
  };
  std::vector<int> answers;
  for (int a = 0; a < game.answer_classes(); ++a) {
    const bool found = objective == Objective::Guessed && a == game.exact_class();
    if (!parts[a].codes.empty() && !found) answers.push_back(a);
  }
  std::sort(answers.begin(), answers.end(),
            [&parts](int x, int y) { return parts[x].codes.size() > parts[y].codes.size(); });
  std::vector<Task> tasks;
  const std::vector<int> history{first};
  for (const int a : answers) {
    Part& part = parts[a];
    const int n = static_cast<int>(part.codes.size());
    if (n <= 2) {
      // Solved outright, with nothing to share.
      std::vector<int> h = history;
      part.best = searchers[0]->solve(part.codes.data(), n, UNBOUNDED, game.possible_answers(), h, &part.best_guess);
      continue;
    }
    part.second_guesses = searchers[0]->ordered_guesses(part.codes.data(), n, history, part.parts_limit);
    part.tasks_left = static_cast<int>(part.second_guesses.size());
    for (const int g : part.second_guesses) tasks.push_back({a, g});
  }

  std::atomic<std::size_t> next_task{0};
  std::atomic<int> codes_solved{0};
  std::mutex results_mutex;
  const auto work = [&](Searcher& searcher, int searcher_index) {
    std::vector<int> h = history;
    std::vector<CodeIndex> room(game.size());
    for (std::size_t t = next_task++; t < tasks.size(); t = next_task++) {
      Part& part = parts[tasks[t].answer];
      const int n = static_cast<int>(part.codes.size());
      const int g = tasks[t].second_guess;
      // One above the best so far, so that a guess tying with it is costed
      // exactly and the tie can go to the guess tried first.
      const int budget = part.best.load() + 1;
      const int cost = searcher.guess_cost(part.codes.data(), n, g, budget, part.parts_limit, h, room.data());
      {
        const std::lock_guard lock(results_mutex);
        // Ties go to the guess tried first, so the strategy written does
        // not depend on which thread finished first.
        const auto earlier = [&part](int x, int y) {
          return std::find(part.second_guesses.begin(), part.second_guesses.end(), x) <
                 std::find(part.second_guesses.begin(), part.second_guesses.end(), y);
        };
        if (cost < budget &&
            (cost < part.best.load() || (cost == part.best.load() && earlier(g, part.best_guess)))) {
          part.best = cost;
          part.best_guess = g;
          part.best_searcher = searcher_index;
        }
      }
      if (--part.tasks_left == 0) {
        codes_solved += n;
        if (options.progress) {
          const std::lock_guard lock(results_mutex);
          options.progress(static_cast<double>(codes_solved.load()) / game.size());
        }
      }
    }
  };
  std::vector<std::thread> threads;
  for (int t = 1; t < thread_count; ++t) threads.emplace_back(work, std::ref(*searchers[t]), t);
  work(*searchers[0], 0);
  for (auto& thread : threads) thread.join();

  SearchReport report;
  report.total = game.size();
  StrategyNode root;
  root.guess = first;
  root.next.fill(StrategyNode::NO_NODE);
  report.strategy.nodes.push_back(root);
  for (const int a : answers) {
    Part& part = parts[a];
    report.total += part.best.load();
    std::vector<int> h = history;
    const int n = static_cast<int>(part.codes.size());
    if (n == 1 && objective == Objective::Named) continue;
    report.strategy.nodes[0].next[a] =
        searchers[part.best_searcher]->extract_guessing(part.codes.data(), n, part.best_guess, h, report.strategy);
  }
  for (const auto& searcher : searchers) report.positions += searcher->positions();
  return report;
}

}  // namespace abguess
