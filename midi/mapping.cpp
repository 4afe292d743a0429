#include "midi/mapping.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include "basic/encoding.h"
#include "basic/textfile.h"

namespace vx::midi {

const Binding* Mapping::find(const Source& s, bool shifted) const
{
    const Binding* plain = nullptr;
    for (const Binding& b : bindings_) {
        if (!(b.source == s))
            continue;
        if (b.shifted == shifted)
            return &b;
        if (!b.shifted)
            plain = &b;
    }
    return shifted ? plain : nullptr;
}

void Mapping::bind(Binding b)
{
    std::erase_if(bindings_, [&](const Binding& o) {
        return o.shifted == b.shifted && (o.source == b.source || o.control == b.control);
    });
    if (bindings_.size() < kMaxBindings)
        bindings_.push_back(std::move(b));
}

size_t Mapping::clearControl(std::string_view control)
{
    return std::erase_if(bindings_, [&](const Binding& b) { return b.control == control; });
}

bool Mapping::markShift(std::string_view control)
{
    bool marked = false;
    for (Binding& b : bindings_)
        if (!b.shifted && b.control == control && isButtonLike(b.meaning)) {
            b.meaning = Meaning::Shift;
            marked = true;
        }
    return marked;
}

std::vector<Binding> Mapping::bindingsOf(std::string_view control) const
{
    std::vector<Binding> out;
    for (const Binding& b : bindings_)
        if (b.control == control)
            out.push_back(b);
    return out;
}

std::string deviceNameOf(std::string_view portName)
{
    // " 20:0" at the end: a blank, digits, a colon, digits.
    const size_t blank = portName.rfind(' ');
    if (blank == std::string_view::npos)
        return std::string(portName);
    const std::string_view tail = portName.substr(blank + 1);
    const size_t colon = tail.find(':');
    const auto digits = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (colon == std::string_view::npos || !digits(tail.substr(0, colon)) || !digits(tail.substr(colon + 1)))
        return std::string(portName);
    return std::string(portName.substr(0, blank));
}

std::string mappingFileName(std::string_view portName)
{
    const std::string valid = basic::toValidUtf8(deviceNameOf(portName));
    std::string name;
    for (unsigned char c : valid) {
        const bool bad = c < 0x20 || c == 0x7F || std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos;
        name += bad ? '_' : char(c);
    }
    while (!name.empty() && (name.front() == '.' || name.front() == ' '))
        name.erase(0, 1);
    constexpr size_t kMaxBytes = 100;
    if (name.size() > kMaxBytes) {
        size_t cut = kMaxBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;  // never cut a character in two
        name.resize(cut);
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name.empty())
        name = "controller";
    return name + ".midimap";
}

namespace {

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size() && out.size() <= 6) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool parseNumber(std::string_view s, int lo, int hi, int& out)
{
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc{} && end == s.data() + s.size() && out >= lo && out <= hi;
}

bool validControlName(std::string_view s)
{
    if (s.empty() || s.size() > 64 || !basic::isValidUtf8(s))
        return false;
    return std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace

std::string formatBindingLine(const Binding& b)
{
    static constexpr std::string_view kinds[] = {"note", "cc", "pitchbend"};
    std::string line(kinds[static_cast<int>(b.source.kind)]);
    line += ' ' + std::to_string(b.source.channel + 1) + ' ';
    line += b.source.kind == SourceKind::PitchBend ? std::string("-") : std::to_string(b.source.number);
    line += ' ' + b.control + ' ' + std::string(meaningName(b.meaning));
    if (b.shifted)
        line += " shifted";
    return line;
}

bool parseBindingLine(std::string_view line, Binding& out)
{
    const auto w = words(line);
    if (w.size() != 5 && !(w.size() == 6 && w[5] == "shifted"))
        return false;
    Binding b;
    if (w[0] == "note")
        b.source.kind = SourceKind::Note;
    else if (w[0] == "cc")
        b.source.kind = SourceKind::ControlChange;
    else if (w[0] == "pitchbend")
        b.source.kind = SourceKind::PitchBend;
    else
        return false;
    int channel = 0, number = 0;
    if (!parseNumber(w[1], 1, 16, channel))
        return false;
    if (b.source.kind == SourceKind::PitchBend ? w[2] != "-" : !parseNumber(w[2], 0, 127, number))
        return false;
    b.source.channel = static_cast<uint8_t>(channel - 1);
    b.source.number = static_cast<uint8_t>(number);
    if (!validControlName(w[3]))
        return false;
    b.control = std::string(w[3]);
    const auto meaning = meaningFromName(w[4]);
    if (!meaning)
        return false;
    b.meaning = *meaning;
    // A meaning the message cannot carry: pitch bend is only ever a 14-bit position, a note only
    // ever a button, a 14-bit pair needs a control change number with a partner (0..31).
    const SourceKind k = b.source.kind;
    if (k == SourceKind::PitchBend && b.meaning != Meaning::PitchBend)
        return false;
    if (k != SourceKind::PitchBend && b.meaning == Meaning::PitchBend)
        return false;
    if (k == SourceKind::Note && !isButtonLike(b.meaning))
        return false;
    if (b.meaning == Meaning::Absolute14 && b.source.number >= 32)
        return false;
    b.shifted = w.size() == 6;
    if (b.shifted && b.meaning == Meaning::Shift)
        return false;
    out = std::move(b);
    return true;
}

MappingReadResult readMappingFile(const std::string& path)
{
    MappingReadResult r;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return r;
    std::string bytes(kMaxMappingBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        r.messages.push_back("MIDI mapping \"" + path + "\" could not be read");
        return r;
    }
    r.found = true;
    if (bytes.size() > kMaxMappingBytes) {
        bytes.resize(kMaxMappingBytes);
        const size_t lastLine = bytes.find_last_of("\r\n");
        bytes.resize(lastLine == std::string::npos ? 0 : lastLine);
        r.messages.push_back("MIDI mapping \"" + path + "\" is larger than 1 MB; only its start is used");
    }
    if (!basic::isValidUtf8(bytes))
        bytes = basic::toValidUtf8(bytes);  // the damaged lines then fail to parse one by one
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.erase(0, 3);

    basic::LineSplitter lines(bytes);
    std::string_view line;
    size_t lineNo = 0, damaged = 0;
    bool full = false;
    while (lines.next(line)) {
        ++lineNo;
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        Binding b;
        if (!parseBindingLine(line, b)) {
            if (++damaged <= kMaxLineMessages)
                r.messages.push_back("MIDI mapping \"" + path + "\" line " + std::to_string(lineNo) +
                                     " is damaged and was skipped");
            continue;
        }
        if (r.mapping.all().size() >= kMaxBindings) {
            full = true;
            break;
        }
        r.mapping.bind(std::move(b));
    }
    if (damaged > kMaxLineMessages)
        r.messages.push_back("MIDI mapping \"" + path + "\": " + std::to_string(damaged - kMaxLineMessages) +
                             " more damaged lines were skipped");
    if (full)
        r.messages.push_back("MIDI mapping \"" + path + "\" has more than " + std::to_string(kMaxBindings) +
                             " bindings; the rest is ignored");
    return r;
}

bool writeMappingFile(const std::string& path, const Mapping& mapping, std::string* error)
{
    std::vector<std::string> lines{"# Velvox MIDI mapping: kind channel number control meaning [shifted]"};
    for (const Binding& b : mapping.all())
        lines.push_back(formatBindingLine(b));
    return basic::writeTextLinesAtomic(path, lines, error);
}

}  // namespace vx::midi
