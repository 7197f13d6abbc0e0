// Loops built for two processor levels, the baseline x86-64 and AVX2, the one that fits chosen as
// the program starts.
#pragma once

// Under ThreadSanitizer, whose runtime is not ready yet when the choice is made, the loops are
// built for the baseline alone.
#if defined(__SANITIZE_THREAD__)
#define EVO_FOR_EACH_PROCESSOR_LEVEL
#else
#define EVO_FOR_EACH_PROCESSOR_LEVEL __attribute__((target_clones("avx2", "default")))
#endif
