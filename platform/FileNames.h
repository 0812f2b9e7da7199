#pragma once

// Windows file names ignore case (C:\Reports\a.txt and c:\reports\A.TXT are one file); Linux ones
// do not. Lists of paths compare the way the file system does.
#ifdef _WIN32
inline constexpr bool kFileNamesIgnoreCase = true;
#else
inline constexpr bool kFileNamesIgnoreCase = false;
#endif
