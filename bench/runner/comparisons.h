// Every comparison the runner prints: one of the project's measures beside the floor it cannot go
// below or a peer program doing the same work, and the ratio the project holds itself to.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct Comparison {
  std::string ours;       // what the project does
  std::string oursName;   // its benchmark, "function" or "function/argument"
  std::string peer;       // the floor or peer it stands beside
  std::string peerName;
  double target = 0;      // ours may take at most target times the peer; 0: none set
};

const std::vector<Comparison>& Comparisons();

}  // namespace bench
