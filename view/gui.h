#pragma once

namespace vx::view {

// Starts the windowed program; returns the process exit status.
int runGui(int argc, char** argv);

}  // namespace vx::view
