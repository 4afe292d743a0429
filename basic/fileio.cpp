#include "basic/fileio.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::basic::detail {

std::string systemError(std::string_view what, const std::string& path)
{
    return std::string(what) + " \"" + path + "\": " + std::strerror(errno);
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError("cannot open", path);
        return false;
    }
    // Read straight into the string, sized once from the file's length (one byte more, so that
    // the read which finds the end has room); a file that grows meanwhile, or reports no length
    // (a pipe, /proc), grows the string as it comes.
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    bytes.assign(sized ? static_cast<size_t>(st.st_size) + 1 : 0, '\0');
    size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(got + 65536);
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n > 0) {
            got += static_cast<size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = systemError("cannot read", path);
            ::close(fd);
            bytes.clear();
            return false;
        }
    }
    bytes.resize(got);
    ::close(fd);
    return true;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace vx::basic::detail
