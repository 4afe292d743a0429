#include "basic/fileio.h"
#include "basic/textfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx::basic {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kFlushThreshold = 64 * 1024;

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A replaced file keeps the permissions it had.
void copyMode(const std::string& from, int toFd)
{
    struct stat st {};
    if (::stat(from.c_str(), &st) == 0)
        ::fchmod(toFd, st.st_mode & 07777);
}

// Makes the rename itself durable; a failure here does not undo the replacement.
void syncFolder(const std::string& path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

bool writeSynced(int fd, std::string_view data)
{
    return detail::writeAll(fd, data) && ::fsync(fd) == 0;
}

}  // namespace

TextWriter::TextWriter(std::string path) : path_(std::move(path))
{
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        error_ = detail::systemError("cannot create", path_);
}

TextWriter::~TextWriter()
{
    close();
}

bool TextWriter::fail(std::string_view what)
{
    if (error_.empty())
        error_ = detail::systemError(what, path_);
    return false;
}

bool TextWriter::flush()
{
    if (!pending_.empty() && !detail::writeAll(fd_, pending_))
        return fail("cannot write");
    pending_.clear();
    return true;
}

bool TextWriter::writeLine(std::string_view line)
{
    if (fd_ < 0 || !error_.empty())
        return false;
    pending_ += line;
    pending_ += kLineEnd;
    return pending_.size() < kFlushThreshold || flush();
}

bool TextWriter::close()
{
    if (fd_ < 0)
        return error_.empty();
    if (error_.empty())
        flush();
    if (::close(fd_) != 0)
        fail("cannot close");
    fd_ = -1;
    return error_.empty();
}

bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error)
{
    return writeTextAtomic(path, joinLines(lines), error);
}

bool writeTextAtomic(const std::string& path, std::string_view text, std::string* error)
{
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error)
            *error = detail::systemError("cannot create", temp);
        return false;
    }
    copyMode(path, fd);
    bool ok = writeSynced(fd, text);
    std::string message = ok ? "" : detail::systemError("cannot write", temp);
    if (::close(fd) != 0 && ok) {
        ok = false;
        message = detail::systemError("cannot close", temp);
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        message = detail::systemError("cannot replace", path);
    }
    if (!ok) {
        ::unlink(temp.c_str());
        if (error)
            *error = message;
        return false;
    }
    syncFolder(path);
    return true;
}

}  // namespace vx::basic
