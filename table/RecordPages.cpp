#include "table/RecordPages.h"

#include <new>
#include <utility>

namespace {

constexpr std::size_t kPageBytes = std::size_t{256} << 10;
static_assert(kPageBytes == std::size_t{1} << 18, "a handle's offset bits cover a page");

} // namespace

RecordPages::RecordPages(RecordPages&& other) noexcept
    : m_pages(std::move(other.m_pages)), m_pagesUsed(std::exchange(other.m_pagesUsed, 0)),
      m_bigRecords(std::move(other.m_bigRecords)), m_pageFree(std::exchange(other.m_pageFree, nullptr)),
      m_pageLeft(std::exchange(other.m_pageLeft, 0)) {
    other.m_pages.clear();
    other.m_bigRecords.clear();
}

RecordPages& RecordPages::operator=(RecordPages&& other) noexcept {
    if (this != &other) {
        m_pages = std::move(other.m_pages);
        m_pagesUsed = std::exchange(other.m_pagesUsed, 0);
        m_bigRecords = std::move(other.m_bigRecords);
        m_pageFree = std::exchange(other.m_pageFree, nullptr);
        m_pageLeft = std::exchange(other.m_pageLeft, 0);
        // The pages went along: the owner left behind must not write into them.
        other.m_pages.clear();
        other.m_bigRecords.clear();
    }
    return *this;
}

char* RecordPages::Allocate(std::size_t bytes) {
    if (bytes > kPageBytes / 8) {
        m_bigRecords.push_back(std::unique_ptr<char[]>(new char[bytes]));
        return m_bigRecords.back().get();
    }
    if (bytes > m_pageLeft) {
        if (m_pagesUsed == m_pages.size())
            m_pages.push_back(std::unique_ptr<char[]>(new char[kPageBytes]));
        m_pageFree = m_pages[m_pagesUsed++].get();
        m_pageLeft = kPageBytes;
    }
    char* record = m_pageFree;
    m_pageFree += bytes;
    m_pageLeft -= bytes;
    return record;
}

RecordPages::Handle RecordPages::AllocateHandle(std::size_t bytes) {
    if (bytes > kPageBytes / 8) {
        if (m_bigRecords.size() >= kOwnBlock)
            throw std::bad_alloc();
        Allocate(bytes);
        return kOwnBlock | static_cast<Handle>(m_bigRecords.size() - 1);
    }
    // A new page would be the one past what the handles name.
    if (bytes > m_pageLeft && m_pagesUsed >= (std::size_t{1} << (31 - kOffsetBits)))
        throw std::bad_alloc();
    const char* const record = Allocate(bytes);
    const char* const page = m_pages[m_pagesUsed - 1].get();
    return static_cast<Handle>((m_pagesUsed - 1) << kOffsetBits) | static_cast<Handle>(record - page);
}

void RecordPages::Release() {
    Reuse();
    m_pages.clear();
    m_pages.shrink_to_fit();
}

void RecordPages::Reuse() {
    m_pagesUsed = 0;
    m_bigRecords.clear();
    m_pageFree = nullptr;
    m_pageLeft = 0;
}
