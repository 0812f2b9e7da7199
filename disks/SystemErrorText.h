#pragma once

#include <cstdint>
#include <string>

// The system's one-line text for an error code. A code the system has no text for gives
// "Unknown Error <code>, <low 16 bits>", the code as a signed decimal and its low word unsigned.
std::string GetSystemErrorText(std::int32_t code);
