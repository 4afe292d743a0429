#include "midi/learner.h"

#include <algorithm>
#include <cstdlib>

namespace vx::midi {

void Learner::select(std::string control, ControlKind kind)
{
    *this = Learner{};
    control_ = std::move(control);
    kind_ = kind;
}

namespace {
bool isLowPartner(const Source& high, const Source& s)
{
    return high.kind == SourceKind::ControlChange && s.kind == SourceKind::ControlChange && high.number < 32 &&
           s.channel == high.channel && s.number == high.number + 32;
}
}  // namespace

bool Learner::isLearnedSource(const Message& m) const
{
    const auto s = sourceOf(m);
    return s && source_ && (*s == *source_ || isLowPartner(*source_, *s));
}

std::optional<Binding> Learner::observe(const Message& m, bool shifted)
{
    const auto s = sourceOf(m);
    if (!s || control_.empty())
        return std::nullopt;
    if (!source_) {
        if (m.isNoteOff())  // a pad still held when the control was selected
            return std::nullopt;
        source_ = *s;
        shifted_ = shifted;
    } else if (isLowPartner(*source_, *s)) {
        lowPartnerSeen_ = true;
    } else if (!(*s == *source_)) {
        return std::nullopt;
    }
    if (*s == *source_ && values_.size() < kMaxObserved && s->kind == SourceKind::ControlChange)
        values_.push_back(m.data2);
    const Meaning meaning = decide();
    if (last_ == meaning)
        return std::nullopt;
    last_ = meaning;
    return Binding{*source_, shifted_, control_, meaning};
}

Meaning Learner::decide() const
{
    if (source_->kind == SourceKind::Note)
        return Meaning::Button;
    if (source_->kind == SourceKind::PitchBend)
        return Meaning::PitchBend;
    if (kind_ == ControlKind::Button)
        return Meaning::Button;
    if (lowPartnerSeen_)
        return Meaning::Absolute14;
    const auto all = [&](auto pred) { return std::all_of(values_.begin(), values_.end(), pred); };
    const bool around64 = all([](int v) { return v >= 33 && v <= 95 && v != 64; });
    const bool nearZero = all([](int v) { return (v >= 1 && v <= 31) || (v >= 97 && v <= 127); });
    if (kind_ == ControlKind::JogWheel)
        return around64 ? Meaning::Relative64 : Meaning::RelativeTwos;
    // An absolute control sends each value once as it passes and never jumps across the range
    // between two messages; an encoder repeats its step value, and its direction changes jump.
    bool repeats = false, jumps = false;
    for (size_t i = 1; i < values_.size(); ++i) {
        repeats = repeats || values_[i] == values_[i - 1];
        jumps = jumps || std::abs(values_[i] - values_[i - 1]) >= 64;
    }
    if ((repeats || jumps) && nearZero)
        return Meaning::RelativeTwos;
    const bool near64 = all([](int v) { return v >= 48 && v <= 80 && v != 64; });
    if (repeats && near64)
        return Meaning::Relative64;
    return Meaning::Absolute;
}

}  // namespace vx::midi
