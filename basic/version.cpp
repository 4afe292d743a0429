#include "basic/version.h"

// The build defines these; the fallbacks keep a stand-alone build compiling.
#ifndef VELVOX_VERSION_MAJOR
#define VELVOX_VERSION_MAJOR 0
#endif
#ifndef VELVOX_VERSION_MINOR
#define VELVOX_VERSION_MINOR 0
#endif
#ifndef VELVOX_VERSION_PATCH
#define VELVOX_VERSION_PATCH 0
#endif

namespace vx::basic {

std::string versionText()
{
    return std::to_string(VELVOX_VERSION_MAJOR) + "." + std::to_string(VELVOX_VERSION_MINOR) +
           "." + std::to_string(VELVOX_VERSION_PATCH);
}

}  // namespace vx::basic
