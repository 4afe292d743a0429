#pragma once
#include <QPixmap>
#include <string>

namespace vx::view {

// The program's icon: drawn at build time beside the executable, or installed with it.
QPixmap findProgramIcon(const std::string& executableFolder);

}  // namespace vx::view
