#pragma once
#include <string>
#include <vector>

namespace vx::platform {

// Operating-system services the logic needs. UI thread only.
class Shell {
 public:
  virtual ~Shell() = default;
  // True when this is the only running instance. The claim is released by the operating
  // system when the process ends, even by a crash.
  virtual bool acquireSingleInstance() = 0;
  // The folder the open dialogs start in the first time (the user's music folder).
  virtual std::string defaultMediaFolder() = 0;
  virtual bool folderExists(const std::string& path) = 0;
  // Files (not folders) directly inside `folder`, hidden files excluded, in the listing's order.
  virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
  virtual bool isFolder(const std::string& path) = 0;
  // False when the folder's entries cannot be read (no permission, gone): listFiles then gives
  // nothing although the folder may hold files.
  virtual bool folderReadable(const std::string& folder) { return true; }
  virtual bool startProcess(const std::string& program) = 0;
};

}  // namespace vx::platform
