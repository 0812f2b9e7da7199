#pragma once

// A program that links this counts every allocation made through operator new: the bytes asked for,
// not what the allocator rounds them up to. Qt's own strings and arrays take malloc and are not seen,
// so the figures are those of the program's containers: the table, the chart lines, the sorts.

// Bytes allocated and not yet freed.
long long LiveHeapBytes();

// The most that was live at once since the last ResetPeakHeap; a reset starts from what is live now.
long long PeakHeapBytes();
void ResetPeakHeap();
