#include "platform/WideVectors.h"

namespace {

bool ProcessorHasWideVectors() {
#if defined(TRELVANE_WIDE_VECTORS)
    __builtin_cpu_init(); // may run before the library's own start-up code has asked the processor
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool& WideVectorsOn() {
    static bool on = ProcessorHasWideVectors();
    return on;
}

} // namespace

bool UseWideVectors() {
    return WideVectorsOn();
}

void AllowWideVectors(bool allow) {
    WideVectorsOn() = allow && ProcessorHasWideVectors();
}
