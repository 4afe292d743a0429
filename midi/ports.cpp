#include "midi/ports.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <chrono>

#include "midi/mapping.h"

namespace vx::midi {

namespace {

void silentJack(const char*) {}

void ignoreErrors(RtMidiError::Type, const std::string&, void*) {}

RtMidi::Api apiOf(PortSystem s)
{
    return s == PortSystem::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

std::string clientOf(const std::string& portName)
{
    return portName.substr(0, portName.find(':'));
}

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool jackServerRunning()
{
    jack_set_error_function(silentJack);
    jack_set_info_function(silentJack);
    jack_status_t status{};
    jack_client_t* client = jack_client_open("velvox-probe", JackNoStartServer, &status);
    if (!client)
        return false;
    jack_client_close(client);
    return true;
}

struct Ports::Open {
    uint32_t id = 0;
    std::string name;
    MessageQueue* queue = nullptr;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;

    static void onMessage(double, std::vector<unsigned char>* bytes, void* self)
    {
        const auto* open = static_cast<const Open*>(self);
        if (!bytes || bytes->empty() || bytes->size() > 3)
            return;  // system exclusive is switched off; nothing else is longer
        QueuedMessage m;
        m.port = open->id;
        m.size = static_cast<uint8_t>(bytes->size());
        std::copy(bytes->begin(), bytes->end(), m.bytes);
        m.receivedNs = nowNs();
        open->queue->push(m);
    }
};

Ports::Ports(MessageQueue& queue, Options options) : queue_(queue), options_(std::move(options))
{
    system_ = options_.system != PortSystem::None ? options_.system
              : jackServerRunning()               ? PortSystem::Jack
                                                  : PortSystem::Alsa;
}

Ports::~Ports()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard scan(scanMutex_);
    std::vector<std::unique_ptr<Open>> closing;
    {
        std::lock_guard lock(mutex_);
        closing.swap(open_);
    }
    closing.clear();  // closes the ports and joins RtMidi's threads, outside the lock
}

void Ports::start()
{
    thread_ = std::thread([this] { run(); });
}

void Ports::run()
{
    for (;;) {
        scanNow();
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::milliseconds(options_.scanMilliseconds), [this] { return stop_; }))
            return;
    }
}

bool Ports::excluded(const std::string& name) const
{
    if (name.starts_with(options_.clientName))
        return true;
    const std::string device = deviceNameOf(name);
    return std::any_of(options_.excluded.begin(), options_.excluded.end(),
                       [&](const std::string& e) { return e == name || e == device; });
}

void Ports::scanNow()
{
    std::lock_guard scan(scanMutex_);
    std::vector<std::string> names, outputs;
    try {
        RtMidiIn probe(apiOf(system_), options_.clientName + " scan");
        probe.setErrorCallback(ignoreErrors);
        for (unsigned i = 0, n = probe.getPortCount(); i < n; ++i)
            if (std::string name = probe.getPortName(i); !name.empty() && !excluded(name))
                names.push_back(std::move(name));
        RtMidiOut outProbe(apiOf(system_), options_.clientName + " scan");
        outProbe.setErrorCallback(ignoreErrors);
        for (unsigned i = 0, n = outProbe.getPortCount(); i < n; ++i)
            outputs.push_back(outProbe.getPortName(i));
    } catch (const std::exception&) {
        return;  // no sequencer or server now: try again at the next scan
    }

    std::vector<std::unique_ptr<Open>> closing;
    std::vector<std::string> opening;
    {
        std::lock_guard lock(mutex_);
        for (auto it = open_.begin(); it != open_.end();) {
            if (std::find(names.begin(), names.end(), (*it)->name) == names.end()) {
                events_.push_back(PortEvent{(*it)->id, (*it)->name, false, false});
                closing.push_back(std::move(*it));
                it = open_.erase(it);
            } else {
                ++it;
            }
        }
        for (const std::string& name : names)
            if (std::none_of(open_.begin(), open_.end(), [&](const auto& o) { return o->name == name; }))
                opening.push_back(name);
    }
    const bool changed = !opening.empty() || !closing.empty();
    closing.clear();

    for (const std::string& name : opening) {
        auto open = std::make_unique<Open>();
        open->name = name;
        open->queue = &queue_;
        try {
            open->in = std::make_unique<RtMidiIn>(apiOf(system_), options_.clientName, 1024);
            open->in->setErrorCallback(ignoreErrors);
            open->in->ignoreTypes(true, true, true);
            bool found = false;
            for (unsigned i = 0, n = open->in->getPortCount(); i < n && !found; ++i)
                if (open->in->getPortName(i) == name) {
                    {
                        std::lock_guard lock(mutex_);
                        open->id = nextId_++;
                    }
                    open->in->setCallback(&Open::onMessage, open.get());
                    open->in->openPort(i, "in");
                    found = true;
                }
            if (!found)
                continue;
            // The lamps go to the output port of the same name, else of the same client.
            auto out = std::find(outputs.begin(), outputs.end(), name);
            if (out == outputs.end())
                out = std::find_if(outputs.begin(), outputs.end(), [&](const std::string& o) {
                    return !o.starts_with(options_.clientName) && clientOf(o) == clientOf(name);
                });
            if (out != outputs.end()) {
                open->out = std::make_unique<RtMidiOut>(apiOf(system_), options_.clientName);
                open->out->setErrorCallback(ignoreErrors);
                for (unsigned i = 0, n = open->out->getPortCount(); i < n; ++i)
                    if (open->out->getPortName(i) == *out) {
                        open->out->openPort(i, "lamps");
                        break;
                    }
                if (!open->out->isPortOpen())
                    open->out.reset();
            }
        } catch (const std::exception&) {
            continue;  // the port went away while being opened: the next scan tries again
        }
        std::lock_guard lock(mutex_);
        events_.push_back(PortEvent{open->id, name, true, open->out != nullptr});
        open_.push_back(std::move(open));
    }
    if (changed)
        queue_.wakeAgain();
}

std::vector<PortEvent> Ports::takeEvents()
{
    std::lock_guard lock(mutex_);
    return std::exchange(events_, {});
}

bool Ports::send(uint32_t id, std::span<const uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    for (const auto& o : open_)
        if (o->id == id && o->out) {
            try {
                o->out->sendMessage(bytes.data(), bytes.size());
                return true;
            } catch (const std::exception&) {
                return false;
            }
        }
    return false;
}

}  // namespace vx::midi
