#pragma once
// A window of named controls that records what MIDI does to it.

#include <map>
#include <string>
#include <vector>

#include "midi/control_surface.h"

namespace vx::midi::test {

class FakeSurface : public ControlSurface {
public:
    FakeSurface()
    {
        kinds = {{"crossfader", ControlKind::HorizontalFader}, {"vol(0)", ControlKind::VerticalFader},
                 {"eqlow(1)", ControlKind::Knob},             {"jogbtn(0)", ControlKind::JogWheel},
                 {"Pause(0)", ControlKind::Button},           {"Cue(0)", ControlKind::Button}};
        positions = {{"crossfader", 0.5}, {"vol(0)", 0.8}, {"eqlow(1)", 0.5}};
    }

    ControlKind kind(std::string_view name) const override
    {
        const auto it = kinds.find(std::string(name));
        return it == kinds.end() ? ControlKind::None : it->second;
    }
    void press(std::string_view name) override { log.push_back("press " + std::string(name)); }
    void release(std::string_view name) override { log.push_back("release " + std::string(name)); }
    void setPosition(std::string_view name, double p) override
    {
        positions[std::string(name)] = p;
        ++sets;
    }
    double position(std::string_view name) const override
    {
        const auto it = positions.find(std::string(name));
        return it == positions.end() ? 0.0 : it->second;
    }
    void turn(std::string_view name, int steps) override { turned[std::string(name)] += steps; }
    bool lampLit(std::string_view name) const override
    {
        const auto it = lamps.find(std::string(name));
        return it != lamps.end() && it->second;
    }

    std::map<std::string, ControlKind> kinds;
    std::map<std::string, double> positions;
    std::map<std::string, int> turned;
    std::map<std::string, bool> lamps;
    std::vector<std::string> log;
    int sets = 0;
};

}  // namespace vx::midi::test
