#include <alsa/asoundlib.h>
#include <poll.h>
#include <rtmidi/RtMidi.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "midi/port_watch.h"

namespace vx::midi {

namespace {

void ignoreErrors(RtMidiError::Type, const std::string&, void*) {}

// A sequencer client subscribed to the system's announce port, read by a thread that blocks in
// poll(); the names come from one RtMidi object per direction, made once (on ALSA they open no
// thread until a port is opened).
class AlsaWatch final : public PortWatch {
public:
    AlsaWatch(snd_seq_t* seq, std::function<void()> changed, const std::string& clientName)
        : seq_(seq),
          changed_(std::move(changed)),
          in_(RtMidi::LINUX_ALSA, clientName + " watch"),
          out_(RtMidi::LINUX_ALSA, clientName + " watch")
    {
        in_.setErrorCallback(ignoreErrors);
        out_.setErrorCallback(ignoreErrors);
        stop_ = eventfd(0, EFD_CLOEXEC);
        reader_ = std::thread([this] { read(); });
    }
    ~AlsaWatch() override
    {
        const uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(stop_, &one, sizeof one);
        reader_.join();
        ::close(stop_);
        snd_seq_close(seq_);
    }

    bool list(std::vector<std::string>& sources, std::vector<std::string>& destinations) override
    {
        sources.clear();
        destinations.clear();
        for (unsigned i = 0, n = in_.getPortCount(); i < n; ++i)
            sources.push_back(in_.getPortName(i));
        for (unsigned i = 0, n = out_.getPortCount(); i < n; ++i)
            destinations.push_back(out_.getPortName(i));
        return true;
    }

private:
    void read()
    {
        const int count = snd_seq_poll_descriptors_count(seq_, POLLIN);
        std::vector<pollfd> fds(static_cast<size_t>(count) + 1);
        snd_seq_poll_descriptors(seq_, fds.data(), static_cast<unsigned>(count), POLLIN);
        fds.back() = pollfd{stop_, POLLIN, 0};
        for (;;) {
            if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
                return;
            if (fds.back().revents)
                return;
            bool changed = false;
            snd_seq_event_t* ev = nullptr;
            int left = 0;
            while ((left = snd_seq_event_input(seq_, &ev)) >= 0 && ev)
                changed = changed || (ev->type >= SND_SEQ_EVENT_CLIENT_START && ev->type <= SND_SEQ_EVENT_PORT_CHANGE);
            if (changed || left == -ENOSPC)  // an overrun lost announcements: look anyway
                changed_();
        }
    }

    snd_seq_t* seq_;
    std::function<void()> changed_;
    RtMidiIn in_;
    RtMidiOut out_;
    int stop_ = -1;
    std::thread reader_;
};

}  // namespace

std::unique_ptr<PortWatch> makeAlsaWatch(const std::string& clientName, std::function<void()> changed)
{
    // Without the sequencer's device node, ALSA would print an error of its own at every try (one
    // every scan interval): the program says it once and keeps looking quietly.
    if (access("/dev/snd/seq", F_OK) != 0) {
        static std::atomic<bool> said{false};
        if (!said.exchange(true))
            std::fputs("MIDI: no ALSA sequencer (/dev/snd/seq; the module snd-seq provides it): "
                       "controllers are taken up once it is there\n", stderr);
        return nullptr;
    }
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0)
        return nullptr;
    snd_seq_set_client_name(seq, (clientName + " watch").c_str());
    const int port = snd_seq_create_simple_port(seq, "announce",
                                                SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0 || snd_seq_connect_from(seq, port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE) < 0) {
        snd_seq_close(seq);
        return nullptr;
    }
    try {
        return std::make_unique<AlsaWatch>(seq, std::move(changed), clientName);
    } catch (const std::exception&) {
        snd_seq_close(seq);
        return nullptr;
    }
}

}  // namespace vx::midi
