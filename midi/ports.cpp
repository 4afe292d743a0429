#include "midi/ports.h"

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <chrono>

#include "midi/mapping.h"
#include "midi/port_pairing.h"
#include "midi/port_watch.h"

namespace vx::midi {

namespace {

void ignoreErrors(RtMidiError::Type, const std::string&, void*) {}

RtMidi::Api apiOf(PortSystem s)
{
    return s == PortSystem::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

struct Ports::Open {
    uint32_t id = 0;
    std::string name;
    MessageQueue* queue = nullptr;
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
    std::string outName;  // the port `out` is connected to

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
    watch_.reset();  // no more notifications
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
        const auto due = [this] { return stop_ || rescan_; };
        if (watching_)
            wake_.wait(lock, due);
        else
            wake_.wait_for(lock, std::chrono::milliseconds(options_.scanMilliseconds), due);
        if (stop_)
            return;
        rescan_ = false;
    }
}

void Ports::portsChanged()
{
    {
        std::lock_guard lock(mutex_);
        rescan_ = true;
    }
    wake_.notify_all();
}

bool Ports::excluded(const std::string& name) const
{
    if (name.starts_with(options_.clientName))
        return true;
    const std::string device = deviceNameOf(name);
    return std::any_of(options_.excluded.begin(), options_.excluded.end(),
                       [&](const std::string& e) { return e == name || e == device; });
}

bool Ports::pairOutput(Open& open, const std::vector<std::string>& outputs)
{
    if (open.out && std::find(outputs.begin(), outputs.end(), open.outName) != outputs.end())
        return false;
    const bool had = open.out != nullptr;
    std::unique_ptr<RtMidiOut> gone;
    {
        std::lock_guard lock(mutex_);  // send() may be using it
        gone = std::move(open.out);
        open.outName.clear();
    }
    gone.reset();  // closes its JACK client outside the lock the watch's notifications take
    const auto name = pairedOutput(open.name, outputs, options_.clientName);
    if (!name)
        return had;
    try {
        auto out = std::make_unique<RtMidiOut>(apiOf(system_), options_.clientName);
        out->setErrorCallback(ignoreErrors);
        for (unsigned i = 0, n = out->getPortCount(); i < n && !out->isPortOpen(); ++i)
            if (out->getPortName(i) == *name)
                out->openPort(i, "lamps");
        if (out->isPortOpen()) {
            std::lock_guard lock(mutex_);
            open.out = std::move(out);
            open.outName = *name;
        }
    } catch (const std::exception&) {
        // gone while being opened: its going brings another scan
    }
    return had || open.out;  // an output dropped or (re)opened: the window's lamps follow
}

void Ports::scanNow()
{
    std::lock_guard scan(scanMutex_);
    if (!watch_) {
        auto changed = [this] { portsChanged(); };
        watch_ = system_ == PortSystem::Jack ? makeJackWatch(options_.clientName, changed)
                                             : makeAlsaWatch(options_.clientName, changed);
        std::lock_guard lock(mutex_);
        watching_ = watch_ != nullptr;
        if (!watch_)
            return;  // no sequencer or server now: try again at the next scan
    }
    std::vector<std::string> sources, outputs;
    if (!watch_->list(sources, outputs)) {
        watch_.reset();  // the server is gone, and its ports with it
        std::lock_guard lock(mutex_);
        watching_ = false;
    }
    std::vector<std::string> names;
    for (std::string& name : sources)
        if (!name.empty() && !excluded(name))
            names.push_back(std::move(name));

    std::vector<std::unique_ptr<Open>> closing;
    std::vector<std::string> opening;
    std::vector<Open*> staying;
    {
        std::lock_guard lock(mutex_);
        for (auto it = open_.begin(); it != open_.end();) {
            if (std::find(names.begin(), names.end(), (*it)->name) == names.end()) {
                events_.push_back(PortEvent{(*it)->id, (*it)->name, false, false});
                closing.push_back(std::move(*it));
                it = open_.erase(it);
            } else {
                staying.push_back(it->get());
                ++it;
            }
        }
        for (const std::string& name : names)
            if (std::none_of(open_.begin(), open_.end(), [&](const auto& o) { return o->name == name; }))
                opening.push_back(name);
    }
    bool changed = !opening.empty() || !closing.empty();
    closing.clear();

    // An output that came after its input, or went: the lamps follow it.
    for (Open* open : staying)
        if (pairOutput(*open, outputs)) {
            changed = true;
            std::lock_guard lock(mutex_);
            events_.push_back(PortEvent{open->id, open->name, true, open->out != nullptr});
        }

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
        } catch (const std::exception&) {
            continue;  // the port went away while being opened: the next scan tries again
        }
        pairOutput(*open, outputs);
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
