#pragma once
// Line-per-value text files (settings, list files, font.txt). Written as UTF-8 with CR LF;
// read with CR LF, LF or a lone CR as line end, and with a CP932 fallback for files carried
// over from older installations. Nothing here throws.

#include <string>
#include <string_view>
#include <vector>

namespace vx::basic {

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

// Hands out the lines of a text one at a time, without their line ends: CR LF, LF or a lone
// CR. A final line without a line end counts; a line end at the very end does not start
// another (empty) line. The text must outlive the splitter.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}
    // The next line; false (and line cleared) when there is none left.
    bool next(std::string& line);

private:
    std::string_view text_;
    size_t at_ = 0;
};

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

// Hands out lines one at a time, in order, with the number of the line last handed out.
class TextLineReader {
public:
    TextLineReader() = default;
    explicit TextLineReader(std::vector<std::string> lines);
    // The lines of a successful read; a failed read gives a reader that is at its end.
    explicit TextLineReader(TextReadResult result);

    // The next line; false (and line cleared) when there is none left.
    bool next(std::string& line);
    bool atEnd() const { return index_ >= lines_.size(); }
    // 1-based number of the line last returned by next(); 0 before the first.
    size_t lineNumber() const { return index_; }

private:
    std::vector<std::string> lines_;
    size_t index_ = 0;
};

}  // namespace vx::basic
