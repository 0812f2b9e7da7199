#pragma once

#include "table/ListBase.h"

#include <string>

// The SQLIO run's rules written as plainly as they read: every search a loop over the block one byte
// at a time, every cell a copy. ParseTest scans many bytes at once; the tests and the fuzzer require the
// two to give the same row, cell for cell, and the same result.
bool ScalarParseTest(const std::string& block, CListBase& table);

// Reads the value after token, searching from position; position moves just past the token. The value
// is the text up to the first CR searched from one past that point, leading white space removed. On a
// missing token an error row is appended and the result is false.
bool ScalarFindTokenValue(const std::string& block, size_t& position, const std::string& token,
                          std::string& value, CListBase& table);
