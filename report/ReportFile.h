#pragma once

#include "platform/SequentialFile.h"
#include "report/ReportBlocks.h"

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
    // Reads the file as it stood when it was opened, calling onBlock for each test block, handed over in
    // place where it can: the view is valid only during the call; cut tells what the block reader's
    // bounds took from the run. False on a read error (Error() tells why); the blocks read before it have
    // been delivered.
    //
    // A file that grows while it is read (a log still written to) is read to the size it had when it
    // was opened; one that reports no size (kernel files such as /proc/self/pagemap, which may never
    // end) to at most unsizedLimit bytes. Either then loads as if it ended there, and LeftUnread() says
    // that it did not.
    bool ReadBlockViews(const std::function<void(std::string_view block, RunCut cut)>& onBlock,
                        unsigned long long unsizedLimit = kUnsizedReadLimit);
    // Reads as ReadBlockViews does, handing over the decoded text in pieces, each valid only during the
    // call: what the blocks are cut from, and what a DiskSpd XML or fio JSON report is read from.
    bool ReadText(const std::function<void(std::string_view)>& onText,
                  unsigned long long unsizedLimit = kUnsizedReadLimit);
    void Close();
    // Whether the last read stopped at its bound with more of the file there.
    bool LeftUnread() const { return m_leftUnread; }

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
    // How much of a file that reports no size is read: as much as the rows of such a file may take
    // (RowMemoryBudget).
    static constexpr unsigned long long kUnsizedReadLimit = 64ull << 20;

private:
    SequentialFile m_file;
    unsigned long long m_bytesRead = 0;
    bool m_leftUnread = false;
    std::function<bool(unsigned long long, unsigned long long)> m_progress;
    bool m_cancelled = false;
};
