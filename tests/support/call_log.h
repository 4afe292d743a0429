#pragma once
#include <string>
#include <vector>

namespace vx::test {

// Shared by the fakes: the recorded calls and queries over them.
struct CallLog {
  std::vector<std::string> calls;
  void record(std::string call) { calls.push_back(std::move(call)); }
  void clearCalls() { calls.clear(); }
  bool called(const std::string& call) const;
  int count(const std::string& call) const;
};

}  // namespace vx::test
