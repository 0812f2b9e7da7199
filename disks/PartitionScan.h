#pragma once

#include <string>

class CListBase;
class WmiSource;

// Where a scan reports what it is doing. type 2 is the heading, type 0 the current step.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    virtual void Display(int type, const std::string& text) = 0;
};

// Empties the partition table and refills it from the source: one row per partition and disk drive.
// False when the connection or the first partition query fails; the table then holds one error row
// with the message in "Details". True otherwise, also when nothing was found.
bool ScanPartitions(WmiSource& source, CListBase& table, ScanProgress& progress);
