#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Room for many small records that go together (a table's rows, a chart's lines): pages of 256 KiB
// handed out a record at a time, so a record costs its own bytes, not a heap block each. A record
// bigger than an eighth of a page gets a block of its own. Records never move, not even when the pages
// are moved to another owner; the one moved from starts empty.
class RecordPages {
public:
    RecordPages() = default;
    RecordPages(RecordPages&& other) noexcept;
    RecordPages& operator=(RecordPages&& other) noexcept;
    RecordPages(const RecordPages&) = delete;
    RecordPages& operator=(const RecordPages&) = delete;

    // Room for a record of bytes bytes, unset: a record is written whole before it is read.
    // std::bad_alloc when there is none.
    char* Allocate(std::size_t bytes);
    // The same, the record named by a handle of 32 bits, half a pointer: for an owner of millions of
    // small records that keeps one name for each. Handles address 2 GiB of pages (8,192 of them) and
    // 2^31 records of their own; std::bad_alloc past that too. At gives the record of a handle.
    using Handle = std::uint32_t;
    Handle AllocateHandle(std::size_t bytes);
    char* At(Handle handle) {
        return (handle & kOwnBlock) != 0 ? m_bigRecords[handle & ~kOwnBlock].get()
                                         : m_pages[handle >> kOffsetBits].get() + (handle & kOffsetMask);
    }
    const char* At(Handle handle) const { return const_cast<RecordPages*>(this)->At(handle); }
    // Drops every record. Release gives the memory back; Reuse keeps the pages for the next records.
    void Release();
    void Reuse();

private:
    static constexpr int kOffsetBits = 18; // a page is 256 KiB
    static constexpr Handle kOffsetMask = (Handle{1} << kOffsetBits) - 1;
    static constexpr Handle kOwnBlock = Handle{1} << 31; // a record too big for a page's share

    std::vector<std::unique_ptr<char[]>> m_pages; // the first m_pagesUsed hold records, the rest are spare
    std::size_t m_pagesUsed = 0;
    std::vector<std::unique_ptr<char[]>> m_bigRecords; // records too big for a page's share
    char* m_pageFree = nullptr;                        // the unused end of the page in use
    std::size_t m_pageLeft = 0;
};
