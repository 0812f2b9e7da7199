#pragma once

// Whether the text scans of reports look at 32 bytes at a time (AVX2) instead of 16 (SSE2). The
// processor decides, once; the two forms give the same results, which tests check by turning the wide
// one off.

// Set where the compiler can build the 32-byte form beside the 16-byte one and choose at run time.
#if defined(__GNUC__) && defined(__x86_64__)
#define TRELVANE_WIDE_VECTORS 1
#endif

// True when the processor has AVX2 and the wide scans are not turned off.
bool UseWideVectors();
// Turns the wide scans off (false), or back on where the processor has them (true).
void AllowWideVectors(bool allow);
