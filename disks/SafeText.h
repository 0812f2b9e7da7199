#pragma once

#include <string>
#include <string_view>

// Text as a device or the kernel reports it, made fit for a cell: blanks, line ends and NUL padding
// trimmed at both ends, and every control byte and backslash written as \xNN so that no cell holds a
// line break or a terminal code. Bytes from 0x80 up are kept as they are.
std::string CleanDeviceText(std::string_view raw);

// The same escaping without trimming, for names such as mount points that must stay whole.
std::string EscapeControlBytes(std::string_view raw);

// For a message that echoes a path or an argument to a terminal: control bytes as \xNN, so no line
// break or terminal code gets through, but backslashes kept, as every Windows path is full of them.
std::string EscapeForMessage(std::string_view raw);
