#include "midi/dispatcher.h"

#include <algorithm>

namespace vx::midi {

namespace {
bool isDown(const Message& m)
{
    return m.type() == MessageType::ControlChange ? m.data2 >= 64 : m.isNoteOn();
}
}  // namespace

void Dispatcher::handle(PortState& port, const Mapping& mapping, const Message& m)
{
    const auto src = sourceOf(m);
    if (!src)
        return;
    const bool shifted = port.shiftHeld > 0;
    // The low half of a 14-bit pair completes the high half before it.
    if (src->kind == SourceKind::ControlChange && src->number >= 32 && src->number < 64 && !mapping.find(*src, shifted)) {
        Source highSrc = *src;
        highSrc.number = static_cast<uint8_t>(src->number - 32);
        const Binding* b = mapping.find(highSrc, shifted);
        if (b && b->meaning == Meaning::Absolute14) {
            port.pendingHigh.reset();
            const int value = (port.high[highSrc.key()] << 7) | m.data2;
            absolute(port, *b, positionOf14(value), -1);
        }
        return;
    }
    if (port.pendingHigh && !(*port.pendingHigh == *src))
        flushHigh(port, mapping);
    const Binding* b = mapping.find(*src, shifted);
    if (!b)
        return;
    switch (b->meaning) {
    case Meaning::Shift:
        shift(port, src->key(), isDown(m));
        break;
    case Meaning::Button:
        button(port, src->key(), b->control, isDown(m));
        break;
    case Meaning::Absolute:
        absolute(port, *b, positionOf7(m.data2), m.data2);
        break;
    case Meaning::Absolute14:
        port.high[src->key()] = m.data2;
        port.pendingHigh = *src;
        break;
    case Meaning::PitchBend:
        absolute(port, *b, positionOf14(m.pitchBend()), -1);
        break;
    case Meaning::Relative64:
    case Meaning::RelativeTwos:
        relative(b->control, stepsOf(b->meaning, m.data2));
        break;
    }
}

void Dispatcher::flushHigh(PortState& port, const Mapping& mapping)
{
    if (!port.pendingHigh)
        return;
    const Source src = *port.pendingHigh;
    port.pendingHigh.reset();
    if (const Binding* b = mapping.find(src, port.shiftHeld > 0); b && b->meaning == Meaning::Absolute14)
        absolute(port, *b, positionOf14(port.high[src.key()] << 7), -1);
}

void Dispatcher::button(PortState& port, uint32_t key, const std::string& control, bool down)
{
    const auto it = port.held.find(key);
    if (down && it == port.held.end()) {
        port.held.emplace(key, control);
        surface_.press(control);
    } else if (!down && it != port.held.end()) {
        // The release goes where the press went, even when shift changed the layer meanwhile.
        const std::string pressed = it->second;
        port.held.erase(it);
        surface_.release(pressed);
    }
}

void Dispatcher::shift(PortState& port, uint32_t key, bool down)
{
    const auto it = port.held.find(key);
    if (down && it == port.held.end()) {
        port.held.emplace(key, std::string());
        ++port.shiftHeld;
    } else if (!down && it != port.held.end()) {
        port.held.erase(it);
        --port.shiftHeld;
    }
}

void Dispatcher::absolute(PortState& port, const Binding& b, double position, int raw7)
{
    const ControlKind kind = surface_.kind(b.control);
    if (kind == ControlKind::Button) {
        button(port, b.source.key(), b.control, position >= 0.5);
    } else if (kind == ControlKind::JogWheel) {
        // An absolute wheel: the steps are the change since its last value, the short way round.
        if (raw7 < 0)
            return;
        const auto [it, first] = port.lastAbsolute.try_emplace(b.source.key(), raw7);
        if (!first) {
            const int steps = ((raw7 - it->second + 64 + 128) % 128) - 64;
            it->second = raw7;
            relative(b.control, steps);
        }
    } else if (isAbsoluteKind(kind)) {
        if (takeover_[b.control].accept(position, windowPosition(b.control)))
            pendingFor(b.control).position = position;
    }
}

void Dispatcher::relative(const std::string& control, int steps)
{
    if (steps == 0)
        return;
    const ControlKind kind = surface_.kind(control);
    if (kind == ControlKind::JogWheel) {
        pendingFor(control).steps += steps;
    } else if (isAbsoluteKind(kind)) {
        // An endless encoder on a knob or fader: a full turn crosses the whole travel.
        const double moved = windowPosition(control) + double(steps) / ControlSurface::kTicksPerTurn;
        pendingFor(control).position = std::clamp(moved, 0.0, 1.0);
    }
}

Dispatcher::Pending& Dispatcher::pendingFor(const std::string& control)
{
    for (Pending& p : pending_)
        if (p.control == control)
            return p;
    pending_.push_back(Pending{control, std::nullopt, 0});
    return pending_.back();
}

double Dispatcher::windowPosition(const std::string& control)
{
    for (const Pending& p : pending_)
        if (p.control == control && p.position)
            return *p.position;
    return surface_.position(control);
}

void Dispatcher::endBatch()
{
    for (const Pending& p : pending_) {
        if (p.position) {
            surface_.setPosition(p.control, *p.position);
            if (const auto it = takeover_.find(p.control); it != takeover_.end())
                it->second.applied(surface_.position(p.control));
        }
        if (p.steps != 0)
            surface_.turn(p.control, p.steps);
    }
    pending_.clear();
}

void Dispatcher::releaseAll(PortState& port)
{
    for (const auto& [key, control] : port.held)
        if (!control.empty())
            surface_.release(control);
    port.held.clear();
    port.shiftHeld = 0;
    port.pendingHigh.reset();
}

}  // namespace vx::midi
