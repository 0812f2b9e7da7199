#pragma once

#include "platform/SequentialFile.h"
#include "report/ReportBlocks.h"

#include <functional>
#include <string>
#include <string_view>

// A report file opened for reading only; it is never written. Reading decodes the text, splits the
// lines and hands over one test block at a time, so only one block is held in memory.
class ReportFile {
public:
    ReportFile() = default;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile();

    // False when the path cannot be opened as a report (missing, no permission, a folder, or anything
    // else that is not a regular file); Error() tells why. Never blocks: a FIFO without a writer or a
    // device is refused at once instead of being waited on or read without end.
    bool Open(const std::string& path);
    // Reads to the end, calling onBlock for each test block, handed over in place where it can: the view
    // is valid only during the call; cut tells what the block reader's bounds took from the run. False on
    // a read error (Error() tells why); the blocks read before it have been delivered.
    bool ReadBlockViews(const std::function<void(std::string_view block, RunCut cut)>& onBlock);
    void Close();

    // The system's error number, or kNotRegularFile.
    int Error() const { return m_file.Error(); }
    // The system's text for Error(), or "not a regular file".
    std::string ErrorText() const { return SequentialFile::ErrorText(Error()); }
    // The file's size when it was opened, and the bytes read from it so far (a file that grows while
    // it is read can pass its size).
    unsigned long long Size() const { return m_file.Size(); }
    unsigned long long BytesRead() const { return m_bytesRead; }

    static constexpr int kNotRegularFile = SequentialFile::kNotRegularFile;

private:
    SequentialFile m_file;
    unsigned long long m_bytesRead = 0;
};
