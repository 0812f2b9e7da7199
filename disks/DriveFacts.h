#pragma once

#include "disks/SysfsTree.h"

#include <optional>
#include <string>

// A fact about a drive, cleaned for a cell: its text, or none because no file has it or, with error
// set, because a file that may have it could not be read.
struct DriveText {
    std::optional<std::string> text;
    int error = 0;
};

// The model a disk reports (may be empty text).
DriveText DriveModel(const SysfsTree& sys, const std::string& disk);

// How a disk is attached, in the words lsblk uses for its TRAN column; "" when it cannot be told.
std::string DriveTransport(const SysfsTree& sys, const std::string& disk);

// The serial number: the first of the places a kernel driver may put it that gives text.
DriveText DriveSerial(const SysfsTree& sys, const std::string& disk);
