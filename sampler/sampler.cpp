#include "sampler/sampler.h"

#include <fstream>

// The slots themselves come with the sampler engine; until then no slot holds a sound and the
// entry points do nothing, except that a slot file is checked for being readable so that the
// settings reader treats a lost sample as the engine will.
namespace vx::sampler {

void releaseSampler(Program& p) {
  if (p.ports.sound) p.ports.sound->release();
}

bool loadSlotFile(Program&, int, const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

void cmdPlay_Click(Program&, int) {}

bool slotSilencer(const Program&, int) { return false; }

bool slotLoaded(const Program&, int) { return false; }

void openSlotSettings(Program&, int) {}

}  // namespace vx::sampler
