#pragma once

// Windows file names ignore case (C:\Reports\a.txt and c:\reports\A.TXT are one file); Linux ones
// do not. Lists of paths compare the way the file system does.
#ifdef _WIN32
inline constexpr bool kFileNamesIgnoreCase = true;
#else
inline constexpr bool kFileNamesIgnoreCase = false;
#endif

// The bytes that separate the folders of a path: Windows takes either slash, Linux only '/' (a
// backslash is part of a Linux file name).
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "\\/";
#else
inline constexpr const char* kPathSeparators = "/";
#endif
