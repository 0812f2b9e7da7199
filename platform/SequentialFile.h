#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened to be read once from start to end: read only, other writers denied where the system
// can deny them, with the sequential-access hint. The one place where the core touches the file
// system's calls; SequentialFilePosix.cpp and SequentialFileWindows.cpp implement it.
//
// Paths are bytes: on Linux the file system's own bytes, on Windows UTF-8, turned into UTF-16 for
// the wide calls, so a name in any script opens.
class SequentialFile {
public:
    SequentialFile() = default;
    SequentialFile(const SequentialFile&) = delete;
    SequentialFile& operator=(const SequentialFile&) = delete;
    ~SequentialFile();

    // False when the path cannot be opened as a regular file (missing, a folder, a pipe or device,
    // no permission); Error() tells why. Never waits for a writer.
    bool Open(const std::string& path);
    // Reads up to size bytes; 0 at the end of the file, -1 on a read error (Error() tells why).
    std::ptrdiff_t Read(char* buffer, std::size_t size);
    void Close();
    bool IsOpen() const { return m_handle != kNoHandle; }
    // The file's size when it was opened.
    unsigned long long Size() const { return m_size; }

    // The system's error number of the last failure: errno on Linux, GetLastError on Windows; or
    // kNotRegularFile for a pipe, socket or device.
    int Error() const { return m_error; }
    static std::string ErrorText(int error);
    static constexpr int kNotRegularFile = -1;
    static constexpr const char* kNotRegularFileText = "not a regular file";

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t m_handle = kNoHandle;
    int m_error = 0;
    unsigned long long m_size = 0;
};
