#include "midi/midi_system.h"

#include <algorithm>

namespace vx::midi {

MidiSystem::MidiSystem(ControlSurface& surface, MessageQueue& queue, std::string mappingFolder)
    : surface_(surface), queue_(queue), folder_(std::move(mappingFolder)), dispatcher_(surface)
{
}

std::string MidiSystem::mappingPath(std::string_view portName) const
{
    return folder_ + "/" + mappingFileName(portName);
}

std::vector<std::string> MidiSystem::portNames() const
{
    std::vector<std::string> names;
    for (const auto& [id, port] : portsById_)
        names.push_back(port.state.name);
    return names;
}

bool MidiSystem::lampsReach(std::string_view portName) const
{
    return std::any_of(portsById_.begin(), portsById_.end(),
                       [&](const auto& entry) { return entry.second.state.name == portName && entry.second.hasOutput; });
}

Mapping& MidiSystem::mappingOf(const std::string& device)
{
    auto it = mappings_.find(device);
    if (it != mappings_.end())
        return it->second;
    MappingReadResult read = readMappingFile(mappingPath(device));
    messages_.insert(messages_.end(), read.messages.begin(), read.messages.end());
    return mappings_.emplace(device, std::move(read.mapping)).first->second;
}

MidiSystem::Port& MidiSystem::openPort(uint32_t id, const std::string& name, bool hasOutput)
{
    Port& port = portsById_[id];
    port.state.name = name;
    port.state.device = deviceNameOf(name);
    port.hasOutput = hasOutput;
    mappingOf(port.state.device);
    return port;
}

void MidiSystem::detachPorts()
{
    std::vector<uint32_t> ids;
    for (const auto& [id, port] : portsById_)
        if (id < 0x80000000u)
            ids.push_back(id);
    for (uint32_t id : ids)
        portClosed(id);
    ports_ = nullptr;
}

void MidiSystem::portOpened(const PortEvent& e)
{
    Port& port = openPort(e.id, e.name, e.hasOutput);
    if (e.hasOutput)
        port.lamps.forget();  // an output opened anew knows nothing of the lamps yet
}

void MidiSystem::portClosed(uint32_t id)
{
    const auto it = portsById_.find(id);
    if (it == portsById_.end())
        return;
    dispatcher_.releaseAll(it->second.state);  // a held CUE must not stay held
    dispatcher_.endBatch();
    portsById_.erase(it);
}

bool MidiSystem::drain()
{
    queue_.rearm();
    if (ports_)
        for (const PortEvent& e : ports_->takeEvents())
            e.opened ? portOpened(e) : portClosed(e.id);
    QueuedMessage q;
    size_t n = 0;
    while (n < kMaxPerWakeUp && queue_.pop(q)) {
        ++n;
        ++drained_;
        const auto it = portsById_.find(q.port);
        if (it == portsById_.end())
            continue;  // from a port closed since
        Port& port = it->second;
        port.state.parser.feed(std::span<const uint8_t>(q.bytes, q.size), [&](const Message& m) { handle(port, m); });
    }
    endBatch();
    const bool left = n == kMaxPerWakeUp;
    if (left)
        queue_.wakeAgain();
    return left;
}

void MidiSystem::deliver(std::string_view portName, std::span<const uint8_t> bytes)
{
    Port* port = nullptr;
    for (auto& [id, p] : portsById_)
        if (p.state.name == portName)
            port = &p;
    if (!port)
        port = &openPort(nextMadeUpId_++, std::string(portName), false);
    port->state.parser.feed(bytes, [&](const Message& m) { handle(*port, m); });
    endBatch();
}

void MidiSystem::endBatch()
{
    for (auto& [id, port] : portsById_)
        dispatcher_.flushHigh(port.state, mappingOf(port.state.device));
    dispatcher_.endBatch();
    refreshLamps();
}

void MidiSystem::handle(Port& port, const Message& m)
{
    if (learning_ && learn(port, m))
        return;
    dispatcher_.handle(port.state, mappingOf(port.state.device), m);
}

bool MidiSystem::learn(Port& port, const Message& m)
{
    if (learner_.control().empty())
        return false;
    const auto src = sourceOf(m);
    if (!src)
        return false;
    Mapping& mapping = mappingOf(port.state.device);
    // Shift buttons keep shifting, so the second layer can be learned.
    if (const Binding* b = mapping.find(*src, false); b && b->meaning == Meaning::Shift)
        return false;
    if (!learnDevice_.empty() && learnDevice_ != port.state.device)
        return false;
    if (!learnDevice_.empty() && !learner_.isLearnedSource(m))
        return false;  // another hardware control: it keeps working
    const auto binding = learner_.observe(m, port.state.shiftHeld > 0);
    if (learnDevice_.empty() && !learner_.isLearnedSource(m))
        return true;  // a release still on its way from before the selection
    learnDevice_ = port.state.device;
    if (binding) {
        mapping.bind(*binding);
        save(port.state.device);
    }
    return true;
}

void MidiSystem::save(const std::string& device)
{
    std::string error;
    if (!writeMappingFile(mappingPath(device), mappings_[device], &error))
        messages_.push_back("MIDI mapping could not be saved: " + error);
}

void MidiSystem::setLearning(bool on)
{
    learning_ = on;
    learner_ = Learner{};
    learnDevice_.clear();
}

bool MidiSystem::select(std::string_view control)
{
    const ControlKind kind = surface_.kind(control);
    if (kind == ControlKind::None)
        return false;
    learner_.select(std::string(control), kind);
    learnDevice_.clear();
    return true;
}

std::vector<Binding> MidiSystem::bindingsOf(std::string_view control) const
{
    std::vector<Binding> out;
    for (const auto& [device, mapping] : mappings_)
        for (Binding& b : mapping.bindingsOf(control))
            out.push_back(std::move(b));
    return out;
}

size_t MidiSystem::clearBindings(std::string_view control)
{
    size_t n = 0;
    for (auto& [device, mapping] : mappings_)
        if (const size_t cleared = mapping.clearControl(control); cleared > 0) {
            n += cleared;
            save(device);
        }
    return n;
}

bool MidiSystem::markShift(std::string_view control)
{
    bool marked = false;
    for (auto& [device, mapping] : mappings_)
        if (mapping.markShift(control)) {
            marked = true;
            save(device);
        }
    return marked;
}

void MidiSystem::refreshLamps()
{
    for (auto& [id, port] : portsById_) {
        if (!port.hasOutput && !lampOutput_)
            continue;
        const uint32_t portId = id;
        port.lamps.refresh(surface_, mappingOf(port.state.device), port.state.shiftHeld > 0,
                           [&](std::span<const uint8_t> bytes) {
                               if (lampOutput_)
                                   lampOutput_(portId, bytes);
                               else if (ports_)
                                   ports_->send(portId, bytes);
                           });
    }
}

}  // namespace vx::midi
