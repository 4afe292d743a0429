#include "basic/ini_file.h"

#include <algorithm>
#include <fstream>

#include "basic/encoding.h"
#include "basic/textfile.h"

namespace vx::basic {

namespace {

std::string_view trim(std::string_view s)
{
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos)
        return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

bool sameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// "[name]" -> name; nullopt for other lines.
std::optional<std::string_view> sectionOf(std::string_view line)
{
    line = trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return trim(line.substr(1, line.size() - 2));
}

bool isComment(std::string_view line)
{
    line = trim(line);
    return line.empty() || line.front() == ';' || line.front() == '#';
}

// key and value of "key=value"; false for lines without '=' or with an empty key.
bool keyValueOf(std::string_view line, std::string_view& key, std::string_view& value)
{
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return !key.empty();
}

}  // namespace

bool IniFile::load(const std::string& path, std::vector<std::string>& messages)
{
    lines_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    std::string bytes(kMaxBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        messages.push_back("「" + path + "」を読めませんでした。");
        return false;
    }
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > kMaxBytes) {
        bytes.resize(kMaxBytes);
        messages.push_back("「" + path + "」は 1 MB を超えるため、初めの部分だけを使います。");
    }
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.erase(0, 3);
    if (!isValidUtf8(bytes))
        bytes = toValidUtf8(bytes);
    LineSplitter split(bytes);
    std::string_view line;
    size_t lineNo = 0;
    while (split.next(line)) {
        ++lineNo;
        std::string_view key, value;
        if (!isComment(line) && !sectionOf(line) && !keyValueOf(line, key, value))
            messages.push_back("「" + path + "」の " + std::to_string(lineNo) + " 行目は壊れているため読み飛ばしました。");
        lines_.emplace_back(line);
    }
    return true;
}

bool IniFile::save(const std::string& path, std::string* error) const
{
    return writeTextLinesAtomic(path, lines_, error);
}

long IniFile::find(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    long found = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto s = sectionOf(lines_[i])) {
            inSection = sameText(*s, section);
            if (inSection && key.empty())
                return static_cast<long>(i);
            continue;
        }
        std::string_view k, v;
        if (inSection && !key.empty() && !isComment(lines_[i]) && keyValueOf(lines_[i], k, v) && sameText(k, key))
            found = static_cast<long>(i);
    }
    return found;
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const
{
    const long i = find(section, key);
    std::string_view k, v;
    if (i < 0 || key.empty() || !keyValueOf(lines_[static_cast<size_t>(i)], k, v))
        return std::nullopt;
    return std::string(v);
}

std::string IniFile::get(std::string_view section, std::string_view key, std::string_view fallback) const
{
    return get(section, key).value_or(std::string(fallback));
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line = std::string(key) + "=" + std::string(value);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    if (const long i = find(section, key); i >= 0) {
        lines_[static_cast<size_t>(i)] = std::move(line);
        return;
    }
    long header = find(section, {});
    if (header < 0) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    // After the section's last key=value line (blank lines and comments before the next header
    // stay below it).
    size_t at = static_cast<size_t>(header) + 1, end = at;
    for (; end < lines_.size() && !sectionOf(lines_[end]); ++end)
        if (!isComment(lines_[end]))
            at = end + 1;
    lines_.insert(lines_.begin() + static_cast<long>(at), std::move(line));
}

}  // namespace vx::basic
