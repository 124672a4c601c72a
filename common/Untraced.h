// Loops that run once per byte and branch on nothing but their count (checksums, rotations) are
// left out of a fuzz build's coverage tracing: traced, they cost the readers that run them most of
// their time, and tell the fuzzer nothing.
#pragma once

#if defined(__clang__)
#define DW_UNTRACED __attribute__((no_sanitize("coverage")))
#else
#define DW_UNTRACED
#endif
