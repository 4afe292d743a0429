#include "driver/headless.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>

#include "assembly/home_folder.h"
#include "driver/headless_program.h"

namespace vx::driver {

using namespace vx::assembly;  // NOLINT: the headless front end is built of these layers
using namespace vx::control;   // NOLINT
using namespace vx::script;    // NOLINT
namespace {

constexpr const char* kUsage = "usage: velvox --headless [--home DIR] [--script FILE] [--no-midi]";

struct Arguments {
  std::string home;
  std::string script;  // "" = standard input
  bool midiPorts = true;
};

bool parseArguments(int argc, char** argv, Arguments& out, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--headless") continue;
    if (arg == "--no-midi") {
      out.midiPorts = false;
      continue;
    }
    std::string* target = arg == "--home" ? &out.home : arg == "--script" ? &out.script : nullptr;
    if (!target) {
      error = "unknown argument " + arg;
      return false;
    }
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
      error = arg + " needs a value";
      return false;
    }
    *target = argv[++i];
  }
  return true;
}

int runScript(const Arguments& args, const HomePaths& paths) {
  std::ifstream file;
  if (!args.script.empty()) {
    file.open(args.script);
    if (!file) {
      std::cerr << "velvox: cannot read the script " << args.script << ": " << std::strerror(errno) << '\n';
      return 2;
    }
  }
  HeadlessProgram program(paths, std::cout, args.midiPorts);
  if (args.script.empty()) return program.run(std::cin, "stdin", std::cerr);
  return program.run(file, args.script, std::cerr);
}

}  // namespace

int runHeadless(int argc, char** argv) {
  Arguments args;
  std::string error;
  if (!parseArguments(argc, argv, args, error)) {
    std::cerr << "velvox: " << error << '\n' << kUsage << '\n';
    return 2;
  }
  HomePaths paths;
  if (!resolveHome(args.home, processEnv, executableFolder(), paths, error)) {
    std::cerr << "velvox: " << error << '\n';
    return 2;
  }
  try {
    int status = runScript(args, paths);
    std::cout.flush();
    return status;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "velvox: the program failed: " << e.what() << '\n';
    return 3;
  }
}

}  // namespace vx::driver
