#include <jack/jack.h>

#include <atomic>

#include "midi/port_watch.h"
#include "midi/ports.h"

namespace vx::midi {

namespace {

// The library's messages go to stderr; a server not running yet is no error here.
void quiet()
{
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
}

// A JACK client without ports and without a process callback: the server never schedules it, so
// it costs nothing per period; only its notification thread wakes, when a port comes or goes.
class JackWatch final : public PortWatch {
public:
    JackWatch(jack_client_t* client, std::function<void()> changed) : client_(client), changed_(std::move(changed)) {}
    ~JackWatch() override
    {
        if (!gone_.load())
            jack_deactivate(client_);
        jack_client_close(client_);
    }

    bool start()
    {
        jack_set_port_registration_callback(client_, &JackWatch::onPort, this);
        jack_on_shutdown(client_, &JackWatch::onShutdown, this);
        return jack_activate(client_) == 0;
    }

    bool list(std::vector<std::string>& sources, std::vector<std::string>& destinations) override
    {
        if (gone_.load())
            return false;
        sources = names(JackPortIsOutput);
        destinations = names(JackPortIsInput);
        return true;
    }

private:
    std::vector<std::string> names(unsigned long flags)
    {
        std::vector<std::string> out;
        if (const char** ports = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, flags)) {
            for (const char** p = ports; *p; ++p)
                out.emplace_back(*p);
            jack_free(ports);
        }
        return out;
    }
    static void onPort(jack_port_id_t, int, void* self) { static_cast<JackWatch*>(self)->changed_(); }
    static void onShutdown(void* self)
    {
        auto* watch = static_cast<JackWatch*>(self);
        watch->gone_.store(true);
        watch->changed_();
    }

    jack_client_t* client_;
    std::function<void()> changed_;
    std::atomic<bool> gone_{false};
};

}  // namespace

bool jackServerRunning()
{
    quiet();
    jack_status_t status{};
    jack_client_t* client = jack_client_open("velvox-probe", JackNoStartServer, &status);
    if (!client)
        return false;
    jack_client_close(client);
    return true;
}

std::unique_ptr<PortWatch> makeJackWatch(const std::string& clientName, std::function<void()> changed)
{
    quiet();
    jack_status_t status{};
    jack_client_t* client = jack_client_open((clientName + " watch").c_str(), JackNoStartServer, &status);
    if (!client)
        return nullptr;
    auto watch = std::make_unique<JackWatch>(client, std::move(changed));
    if (!watch->start())
        return nullptr;
    return watch;
}

}  // namespace vx::midi
