#include "platform/SequentialFile.h"

#include <windows.h>

#include <string>

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Paths arrive as UTF-8; the wide calls take every name the file system can hold, whatever the
// ANSI code page of the machine. False for bytes that are not UTF-8.
bool WidePath(const std::string& path, std::wstring& wide) {
    if (path.empty())
        return false;
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                           static_cast<int>(path.size()), nullptr, 0);
    if (length <= 0)
        return false;
    wide.assign(static_cast<std::size_t>(length), L'\0');
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                               wide.data(), length) == length;
}

} // namespace

SequentialFile::~SequentialFile() {
    Close();
}

bool SequentialFile::Open(const std::string& path) {
    Close();
    m_error = 0;
    m_size = 0;
    std::wstring wide;
    if (!WidePath(path, wide)) {
        m_error = path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_NO_UNICODE_TRANSLATION;
        return false;
    }
    // Others may read the report while it is loaded, but not write it.
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        m_error = static_cast<int>(GetLastError());
        return false;
    }
    // A pipe, console or device would block the window or never end: only files on a disk are reports.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK) {
        m_error = kNotRegularFile;
        CloseHandle(file);
        return false;
    }
    if (GetFileInformationByHandle(file, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        m_error = ERROR_DIRECTORY;
        CloseHandle(file);
        return false;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
        m_size = static_cast<unsigned long long>(size.QuadPart);
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

std::ptrdiff_t SequentialFile::Read(char* buffer, std::size_t size) {
    if (!IsOpen()) {
        m_error = ERROR_INVALID_HANDLE;
        return -1;
    }
    // ReadFile counts in 32 bits.
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(AsHandle(m_handle), buffer, chunk, &got, nullptr)) {
        m_error = static_cast<int>(GetLastError());
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

void SequentialFile::Close() {
    if (IsOpen())
        CloseHandle(AsHandle(m_handle));
    m_handle = kNoHandle;
}

std::string SequentialFile::ErrorText(int error) {
    if (error == kNotRegularFile)
        return kNotRegularFileText;
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error), 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = buffer != nullptr ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    // The system's texts end in a full stop and CR LF; the message they go into adds its own end.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Error " + std::to_string(error);
    return text;
}
