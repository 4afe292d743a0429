// Where a headless run keeps its files: --home, then VELVOX_HOME, then the executable's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "assembly/home_folder.h"

namespace vx::assembly {
namespace {

namespace fs = std::filesystem;

class HomeFolderTest : public ::testing::Test {
 protected:
  HomeFolderTest() : root(fs::temp_directory_path() / ("velvox-home-" + std::to_string(::getpid()))) {
    fs::create_directories(root);
  }
  ~HomeFolderTest() override { fs::remove_all(root); }

  EnvLookup envWithHome(std::optional<std::string> home) {
    return [home](const std::string& name) -> std::optional<std::string> {
      if (name == "VELVOX_HOME") return home;
      return std::nullopt;
    };
  }

  fs::path root;
  HomePaths paths;
  std::string error;
};

TEST_F(HomeFolderTest, ArgumentBeforeEnvironmentBeforeExecutableFolder) {
  std::string arg = (root / "arg").string(), env = (root / "env").string(), exe = (root / "exe").string();
  ASSERT_TRUE(resolveHome(arg, envWithHome(env), exe, paths, error)) << error;
  EXPECT_EQ(paths.home, arg);
  EXPECT_EQ(paths.settingsFolder, arg);
  EXPECT_EQ(paths.executableFolder, exe);
  ASSERT_TRUE(resolveHome("", envWithHome(env), exe, paths, error)) << error;
  EXPECT_EQ(paths.home, env);
  ASSERT_TRUE(resolveHome("", envWithHome(""), exe, paths, error)) << error;
  EXPECT_EQ(paths.home, exe);
  ASSERT_TRUE(resolveHome("", envWithHome(std::nullopt), exe, paths, error)) << error;
  EXPECT_EQ(paths.home, exe);
}

TEST_F(HomeFolderTest, AMissingHomeIsMadeAndAFileIsRefused) {
  std::string nested = (root / "a" / "b").string();
  ASSERT_TRUE(resolveHome(nested, envWithHome(std::nullopt), ".", paths, error)) << error;
  EXPECT_TRUE(fs::is_directory(nested));

  std::string file = (root / "plain").string();
  std::ofstream(file) << "x";
  EXPECT_FALSE(resolveHome(file, envWithHome(std::nullopt), ".", paths, error));
  EXPECT_NE(error.find(file), std::string::npos);
}

}  // namespace
}  // namespace vx::assembly
