#include "disks/SystemErrorText.h"

#include "disks/WmiStatus.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstring>
#endif

namespace {

std::string UnknownErrorText(std::int32_t code) {
    char text[64];
    std::snprintf(text, sizeof text, "Unknown Error %d, %u", static_cast<int>(code),
                  static_cast<unsigned>(static_cast<std::uint32_t>(code) & 0xFFFFu));
    return text;
}

} // namespace

#ifdef _WIN32

std::string GetSystemErrorText(std::int32_t code) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                       static_cast<DWORD>(code), 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    if (buffer == nullptr)
        return UnknownErrorText(code);
    std::string text(buffer, length);
    LocalFree(buffer);
    if (length == 0)
        return UnknownErrorText(code);
    // The system's texts end in CR LF; the line end and anything after it go.
    const std::string::size_type cr = text.find('\r');
    if (cr != std::string::npos)
        text.erase(cr);
    return text;
}

#else

std::string GetSystemErrorText(std::int32_t code) {
    const int error = ErrnoFromStatus(code);
    if (error > 0) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
        if (const char* description = strerrordesc_np(error))
            return description;
#else
        return std::strerror(error);
#endif
    }
    return UnknownErrorText(code);
}

#endif
