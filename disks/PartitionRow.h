#pragma once

#include "table/ListBase.h"

#include <string>

// Cells of a partition row, in column order.
enum PartitionColumn {
    kPartModel = 0,
    kPartSerial,
    kPartInterface,
    kPartDrive,
    kPartFilesystem,
    kPartDiskSize,
    kPartOffset,
    kPartStatus,
    kPartDetails,
    kPartitionColumnCount
};

// One partition and drive as nine text cells, "Model" to "Details".
using PartitionRow = ListRow;

// Adds the nine columns of the partition table to an empty list.
void AddPartitionColumns(CListBase& table);

// Appends an error row: the message in "Details", the eight other cells empty.
void AppendPartitionErrorRow(CListBase& table, const std::string& message);
