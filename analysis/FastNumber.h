#pragma once

#include <string_view>

// LeadingNumber (widgets/CellNumber.h), bit for bit, with a short cut for the cells a report holds
// almost always: plain decimals like "1234.56" of at most 15 digits. Such a number is an integer below
// 2^53 divided by a power of ten that a double holds exactly, so one division rounds it correctly,
// as the full conversion does. Every other cell takes the full conversion.
double FastLeadingNumber(std::string_view cell);
