#pragma once

#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "table/ListBase.h"

#include <string>

// Checks the fuzz targets share; a failed one traps, which libFuzzer reports with its input.

// Every row is numbered by its place, and the table holds an error row exactly when its reader said not
// every run parsed.
inline void RequireNumberedRowsAndErrorRowsAsSaid(const CListBase& table, bool parsed) {
    bool errorRow = false;
    for (int row = 0; row < table.GetItemCount(); ++row) {
        if (table.CellRef(row, kColNumber) != std::to_string(row))
            __builtin_trap();
        errorRow |= !table.CellRef(row, kColDiagDetails).empty();
    }
    if (errorRow == parsed)
        __builtin_trap();
}

// Each run's details belong to one of the table's rows and read back alike by number and in order.
inline void RequireDetailsOfRows(const RunDetailsStore& runDetails, const CListBase& table) {
    RunDetails found;
    runDetails.ForEach([&](int run, const RunDetails& details) {
        if (run < 0 || run >= table.GetItemCount() || !runDetails.Find(run, found) || found != details)
            __builtin_trap();
    });
}
