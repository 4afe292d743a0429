#pragma once
// What the processor offers beyond the x86-64 baseline the program is built for. Code with a
// faster form for newer processors builds both and picks one once, by asking here.

namespace vx::basic {

// AVX2 with the bit instructions that come with it (BMI1, BMI2, POPCNT): x86-64 processors
// since about 2013. Always false elsewhere.
inline bool cpuHasAvx2()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
           __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

}  // namespace vx::basic
