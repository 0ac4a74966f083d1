#pragma once

#include <cstdint>
#include <string>

namespace scenario::bench {

struct GeneratedSources {
  std::string line;     // a line source
  std::string service;  // a service source for the same route
};

// A route of `length_m` metres (at most 1000000) with features every few hundred metres:
// curves, gradients, mountain stretches, speed-limit and indicator boards, fills, stations,
// signals, slowdowns and code reductions, laid out so that none of them collide and the
// compile records no fault.
GeneratedSources generate_route(int32_t length_m);

}  // namespace scenario::bench
