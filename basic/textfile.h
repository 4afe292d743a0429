#pragma once
// Line-per-value text files (settings, list files, font.txt). Written as UTF-8 with CR LF;
// read with CR LF, LF or a lone CR as line end, and with a CP932 fallback for files carried
// over from older installations. Nothing here throws.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "basic/line_span.h"

namespace vx::basic {

namespace detail {
// One bit for each CR or LF among the 64 bytes (fewer at the text's end) from `at`.
uint64_t lineEndMask(std::string_view text, size_t at);

// Splits up to n lines of text from `at` (a line's start) into out; says how many it took and
// where the next line starts. Requires text.size() <= UINT32_MAX.
struct SplitResult {
    size_t taken = 0, next = 0;
};
using SplitKernel = SplitResult (*)(std::string_view text, size_t at, LineSpan* out, size_t n);
// The bulk splitters this processor can run, fastest first: LineSplitter::nextSpans uses the
// first, and tests hold them all to the line by line reading.
const std::vector<SplitKernel>& splitKernels();
}  // namespace detail

struct TextReadResult {
    bool ok = false;
    std::string error;               // why the file could not be read, when !ok
    std::vector<std::string> lines;  // UTF-8, without line ends
    bool wasLegacyEncoding = false;  // the bytes were not UTF-8 and were decoded as CP932
};

// The text of a file's bytes as UTF-8. The encoding is decided once for the whole file: bytes
// that are valid UTF-8 as a whole (after an optional byte-order mark, which is dropped) are
// UTF-8, anything else is CP932 throughout. Deciding line by line would misread old files,
// whose CP932 lines often happen to be valid UTF-8 too (half-width katakana pairs such as
// D0 B8). *wasLegacyEncoding, when given, tells whether the bytes were taken as CP932.
std::string decodeText(std::string_view bytes, bool* wasLegacyEncoding = nullptr);
// The same, taking the bytes over: UTF-8 is kept where it lies, without a copy.
std::string decodeText(std::string&& bytes, bool* wasLegacyEncoding = nullptr);

// Hands out the lines of a text one at a time, without their line ends: CR LF, LF or a lone
// CR. A final line without a line end counts; a line end at the very end does not start
// another (empty) line. The text must outlive the splitter.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}
    // The next line; false (and line cleared) when there is none left.
    bool next(std::string& line);
    // The same, as a view into the text. Inline: readers take hundreds of thousands of lines.
    bool next(std::string_view& line)
    {
        if (at_ >= text_.size()) {
            line = {};
            return false;
        }
        const size_t end = lineEnd(at_);
        line = text_.substr(at_, end - at_);
        at_ = end + (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n' ? 2 : 1);
        return true;
    }
    // Up to n next lines at once, written to out[0..n); returns how many there were. Fewer
    // than n only at the text's end. A text beyond the spans' 4 GB reach gives none.
    size_t nextSpans(LineSpan* out, size_t n);
    bool atEnd() const { return at_ >= text_.size(); }
    // Where the next line starts in the text.
    size_t position() const { return at_ < text_.size() ? at_ : text_.size(); }
    std::string_view text() const { return text_; }

private:
    // The first CR or LF at or after `at`, or the text's size. The line ends of 64 bytes at a
    // time are found at once and kept, so most lines cost a shift and a bit count.
    size_t lineEnd(size_t at)
    {
        while (at < text_.size()) {
            const size_t chunk = at & ~size_t{63};
            if (chunk != maskAt_) {
                mask_ = detail::lineEndMask(text_, chunk);
                maskAt_ = chunk;
            }
            const uint64_t ahead = mask_ & (~uint64_t{0} << (at - chunk));
            if (ahead != 0)
                return chunk + static_cast<size_t>(__builtin_ctzll(ahead));
            at = chunk + 64;
        }
        return text_.size();
    }

    std::string_view text_;
    size_t at_ = 0;
    size_t maskAt_ = std::string_view::npos;  // where the 64 bytes mask_ describes start
    uint64_t mask_ = 0;                       // their CR and LF bytes, one bit each
};

// How many CR and LF bytes the text holds.
size_t countLineEndBytes(std::string_view text);

// All lines of the file, decoded by decodeText and split as LineSplitter does.
TextReadResult readTextLines(const std::string& path);

// Writes a file line by line in place: opening truncates it. Each line gets CR LF.
// After the first failure every call returns false and error() says what went wrong.
class TextWriter {
public:
    explicit TextWriter(std::string path);
    ~TextWriter();  // closes, ignoring errors; call close() to see them
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    bool writeLine(std::string_view line);
    bool close();  // true when everything written so far reached the file
    const std::string& error() const { return error_; }

private:
    bool flush();
    bool fail(std::string_view what);

    std::string path_;
    int fd_ = -1;
    std::string pending_;
    std::string error_;
};

// Replaces the file as a whole: writes path + ".tmp" beside it, syncs it and renames it over
// path. On failure the old file is untouched, the temporary file is gone and *error (when
// given) says why.
bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error);
// The same for a text that already holds its line ends.
bool writeTextAtomic(const std::string& path, std::string_view text, std::string* error);

}  // namespace vx::basic
