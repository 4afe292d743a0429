#pragma once
// Thin POSIX file helpers with errno-based messages, for the text-file functions.

#include <string>
#include <string_view>

namespace vx::basic::detail {

// "<what> \"<path>\": <strerror(errno)>"
std::string systemError(std::string_view what, const std::string& path);

// The whole file; false with a message in error when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes all of data, retrying short writes and EINTR; false leaves errno set.
bool writeAll(int fd, std::string_view data);

}  // namespace vx::basic::detail
