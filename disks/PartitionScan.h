#pragma once

#include <string>

class CListBase;
class WmiSource;

// Where a scan reports what it is doing: a line of the progress window, by its kind.
class ScanProgress {
public:
    // The kinds' numbers are the progress window's (CDlgProgress::Kind).
    enum Kind { kStep = 0, kHeading = 2 };
    virtual ~ScanProgress() = default;
    virtual void Display(int type, const std::string& text) = 0;
};

// Empties the partition table and refills it from the source: one row per partition and disk drive.
// False when the connection or the first partition query fails; the table then holds one error row
// with the message in "Details". True otherwise, also when nothing was found.
bool ScanPartitions(WmiSource& source, CListBase& table, ScanProgress& progress);
