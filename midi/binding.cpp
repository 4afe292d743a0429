#include "midi/binding.h"

#include <array>
#include <utility>

namespace vx::midi {

std::optional<Source> sourceOf(const Message& m)
{
    const auto ch = static_cast<uint8_t>(m.channel());
    switch (m.type()) {
    case MessageType::NoteOn:
    case MessageType::NoteOff:
        return Source{SourceKind::Note, ch, m.data1};
    case MessageType::ControlChange:
        return Source{SourceKind::ControlChange, ch, m.data1};
    case MessageType::PitchBend:
        return Source{SourceKind::PitchBend, ch, 0};
    default:
        return std::nullopt;
    }
}

namespace {
constexpr std::array<std::pair<Meaning, std::string_view>, 7> kMeaningNames{{
    {Meaning::Button, "button"},
    {Meaning::Shift, "shift"},
    {Meaning::Absolute, "absolute"},
    {Meaning::Absolute14, "absolute14"},
    {Meaning::PitchBend, "pitchbend"},
    {Meaning::Relative64, "relative64"},
    {Meaning::RelativeTwos, "relative-twos"},
}};
}  // namespace

std::string_view meaningName(Meaning m)
{
    for (const auto& [meaning, name] : kMeaningNames)
        if (meaning == m)
            return name;
    return "button";
}

std::optional<Meaning> meaningFromName(std::string_view name)
{
    for (const auto& [meaning, n] : kMeaningNames)
        if (n == name)
            return meaning;
    return std::nullopt;
}

double positionOf7(int value)
{
    return value <= 64 ? value / 128.0 : 0.5 + (value - 64) / 126.0;
}

double positionOf14(int value)
{
    return value <= 8192 ? value / 16384.0 : 0.5 + (value - 8192) / 16382.0;
}

int stepsOf(Meaning m, int value)
{
    if (m == Meaning::Relative64)
        return value - 64;
    if (m == Meaning::RelativeTwos)
        return value < 64 ? value : value - 128;
    return 0;
}

}  // namespace vx::midi
