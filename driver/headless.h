#pragma once

namespace vx::driver {

// `velvox --headless [--home DIR] [--script FILE]`: runs the program without windows on the
// virtual audio device, reading commands from the script or standard input. Returns the exit
// status: 0; 1 after a failed expect; 2 for a mistake in the script or the command line;
// 3 when the program itself failed.
int runHeadless(int argc, char** argv);

}  // namespace vx::driver
