#pragma once

#include "platform/SequentialFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>

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
    // Reads to the end, calling onBlock for each test block. False on a read error (Error() tells why);
    // the blocks read before it have been delivered.
    bool ReadBlocks(const std::function<void(const std::string&)>& onBlock);
    // The same, handing each block over in place where it can: the view is valid only during the call.
    bool ReadBlockViews(const std::function<void(std::string_view)>& onBlock);
    void Close();

    // Told after each piece read, with the bytes read so far and the file's size; when it returns false
    // the reading stops there, without the rest of the file or the block that piece began, and
    // Cancelled() is true. A long load shows its progress and offers to stop through it.
    void SetProgress(std::function<bool(unsigned long long bytesRead, unsigned long long size)> progress) {
        m_progress = std::move(progress);
    }
    bool Cancelled() const { return m_cancelled; }

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
    std::function<bool(unsigned long long, unsigned long long)> m_progress;
    bool m_cancelled = false;
};
