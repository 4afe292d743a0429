#pragma once
// Open and save dialog filters: the classic "description|patterns|description|patterns" text
// (patterns separated by ";") as Qt's "description (pattern pattern);;..." list.
#include <string>
#include <vector>

namespace vx::view {

// A pattern group already written in the description ("Wave files(*.WAV)") is replaced by the
// real patterns, so that what the dialog shows is what it matches. A description that is only
// such a group becomes the patterns themselves.
std::vector<std::string> qtFilters(const std::string& classic);

}  // namespace vx::view
