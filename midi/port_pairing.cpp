#include "midi/port_pairing.h"

#include <algorithm>

namespace vx::midi {

namespace {

bool allDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The name with the words that tell the direction taken out.
std::string withoutDirection(std::string_view name)
{
    std::string s(name);
    for (std::string_view word : {"capture", "playback"})
        for (size_t at; (at = s.find(word)) != std::string::npos;)
            s.erase(at, word.size());
    return s;
}

}  // namespace

std::string clientKeyOf(std::string_view portName)
{
    std::string_view client = portName.substr(0, portName.find(':'));
    if (const size_t dash = client.rfind('-'); dash != std::string_view::npos && allDigits(client.substr(dash + 1)))
        client = client.substr(0, dash);
    return std::string(client);
}

std::optional<std::string> pairedOutput(std::string_view input, const std::vector<std::string>& outputs,
                                        std::string_view own)
{
    std::vector<const std::string*> candidates;
    for (const std::string& o : outputs)
        if (!o.starts_with(own))
            candidates.push_back(&o);
    for (const std::string* o : candidates)
        if (*o == input)
            return *o;
    const std::string undirected = withoutDirection(input);
    if (undirected != input)
        for (const std::string* o : candidates)
            if (withoutDirection(*o) == undirected)
                return *o;
    // By client only when that client has a single output: a bridge holding many devices' ports
    // under one client name must not send one device's lamps to another.
    const std::string client = clientKeyOf(input);
    const std::string* found = nullptr;
    for (const std::string* o : candidates)
        if (clientKeyOf(*o) == client) {
            if (found)
                return std::nullopt;
            found = o;
        }
    if (found)
        return *found;
    return std::nullopt;
}

}  // namespace vx::midi
