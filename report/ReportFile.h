#pragma once

#include "platform/SequentialFile.h"

#include <functional>
#include <string>

// A report file opened for reading only; it is never written. Reading decodes the text, splits the
// lines and hands over one test block at a time, so only one block is held in memory.
class ReportFile {
public:
    ReportFile() = default;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile();

    // False when the path cannot be opened as a file (missing, a folder, no permission); Error() tells why.
    bool Open(const std::string& path);
    // Reads to the end, calling onBlock for each test block. False on a read error (Error() tells why);
    // the blocks read before it have been delivered.
    bool ReadBlocks(const std::function<void(const std::string&)>& onBlock);
    void Close();

    int Error() const { return m_file.Error(); }
    // The system's text for Error().
    std::string ErrorText() const { return SequentialFile::ErrorText(Error()); }

private:
    SequentialFile m_file;
};
