// The strategies a user can pick by name, for the programs' options.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "strategy.h"

namespace abguess {

// "classic" (the default) and "optimal".
const std::vector<std::string>& strategy_names();

// The strategy of that name; the classic one for any name not listed.
std::unique_ptr<Strategy> make_strategy(const std::string& name);

}  // namespace abguess
