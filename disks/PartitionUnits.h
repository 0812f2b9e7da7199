#pragma once

#include <cstdint>
#include <string>

// Reads the decimal number at the start of a WMI text (leading blanks skipped); 0 when there is none,
// the largest value when it does not fit.
std::uint64_t ParseDecimal64(const std::string& text);

// "Starting Offset" cell: bytes at 1024 per KB, one decimal ("1024.0 KB").
std::string FormatOffsetCell(std::uint64_t bytes);
// "Disk Size" cell: whole MiB (remainder dropped) over 1024, one decimal ("931.5 GB").
std::string FormatSizeCell(std::uint64_t bytes);
// "Filesystem (Allocation Size)" cell of an NTFS volume: bytes up to 8192, KB above.
std::string FormatNtfsCell(const std::string& fileSystem, std::uint32_t clusterBytes);

// True for "NTFS" in any case.
bool IsNtfs(const std::string& fileSystem);
