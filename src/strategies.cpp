#include "strategies.h"

#include "classic_strategy.h"
#include "optimal_strategy.h"

namespace abguess {

const std::vector<std::string>& strategy_names() {
  static const std::vector<std::string> names = {"classic", "optimal"};
  return names;
}

std::unique_ptr<Strategy> make_strategy(const std::string& name) {
  if (name == "optimal") return std::make_unique<OptimalStrategy>();
  return std::make_unique<ClassicStrategy>();
}

}  // namespace abguess
