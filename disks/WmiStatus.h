#pragma once

#include "disks/WmiSource.h"

// Status codes the substitute sources answer with; the values are those WMI and COM use.
constexpr WmiStatus kWbemFailed = static_cast<WmiStatus>(0x80041001u);
constexpr WmiStatus kWbemNotFound = static_cast<WmiStatus>(0x80041002u);
constexpr WmiStatus kWbemAccessDenied = static_cast<WmiStatus>(0x80041003u);
constexpr WmiStatus kWbemInvalidNamespace = static_cast<WmiStatus>(0x8004100Eu);
constexpr WmiStatus kWbemInvalidQuery = static_cast<WmiStatus>(0x80041017u);
constexpr WmiStatus kClassNotRegistered = static_cast<WmiStatus>(0x80040154u); // REGDB_E_CLASSNOTREG
constexpr WmiStatus kAccessDenied = static_cast<WmiStatus>(0x80070005u);       // E_ACCESSDENIED
constexpr WmiStatus kOutOfMemory = static_cast<WmiStatus>(0x8007000Eu);        // E_OUTOFMEMORY

// A failure status carrying an errno value: severity and customer bits set, facility 0, the errno in
// the low 16 bits. Windows reserves the customer bit for codes it never defines itself.
constexpr WmiStatus kErrnoStatusBase = static_cast<WmiStatus>(0xA0000000u);

constexpr WmiStatus StatusFromErrno(int error) {
    return static_cast<WmiStatus>(0xA0000000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}
// The errno a status carries, or 0 when it carries none.
constexpr int ErrnoFromStatus(WmiStatus status) {
    const auto bits = static_cast<std::uint32_t>(status);
    return (bits & 0xFFFF0000u) == 0xA0000000u ? static_cast<int>(bits & 0xFFFFu) : 0;
}
