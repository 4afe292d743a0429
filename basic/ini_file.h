#pragma once
// Settings files of `[section]` headers and `key=value` lines (velvoxplus.ini). Reading keeps
// every line, so rewriting keeps unknown sections, unknown keys, comments and even damaged lines
// as they were; only the values set change. UTF-8; written atomically. Nothing here throws.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::basic {

class IniFile {
public:
    static constexpr size_t kMaxBytes = 1 << 20;  // a larger file is read up to here

    // Replaces the contents with the file's. A missing file is an empty one (true, no messages).
    // Damaged lines (neither blank, comment, header nor key=value) are kept but mean nothing and
    // give one message each naming the file and the line; false when the file cannot be read.
    bool load(const std::string& path, std::vector<std::string>& messages);
    bool save(const std::string& path, std::string* error) const;

    // Sections and keys compare without regard to ASCII case; the last of repeated keys counts.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    std::string get(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Changes the key in place, or adds it at the end of its section (the section at the end).
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The text as it would be saved, one entry a line.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    // The index of the line holding the key, or of the section's header (key empty), or -1.
    long find(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
};

}  // namespace vx::basic
