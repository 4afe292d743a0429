#include "midi/lamps.h"

namespace vx::midi {

void Lamps::refresh(const ControlSurface& surface, const Mapping& mapping, bool shifted, const Send& send)
{
    for (const Binding& candidate : mapping.all()) {
        if (candidate.meaning != Meaning::Button || candidate.source.kind == SourceKind::PitchBend)
            continue;
        const Binding* b = mapping.find(candidate.source, shifted);
        if (b != &candidate)
            continue;  // the source shows the other layer's control now
        const bool lit = surface.lampLit(b->control);
        const auto [it, added] = sent_.try_emplace(b->source.key(), lit);
        if (!added && it->second == lit)
            continue;
        it->second = lit;
        const uint8_t status = (b->source.kind == SourceKind::Note ? 0x90 : 0xB0) | b->source.channel;
        const uint8_t bytes[3] = {status, b->source.number, uint8_t(lit ? 127 : 0)};
        send(bytes);
    }
}

}  // namespace vx::midi
