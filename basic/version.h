#pragma once

#include <string>

namespace vx::basic {

// "major.minor.revision" of this build, e.g. "1.0.0".
std::string versionText();

}  // namespace vx::basic
