#pragma once

#include "table/ListBase.h"

#include <cstddef>
#include <string>
#include <string_view>

class RunDetailsStore;

// Reads the DiskSpd XML documents of a report (what -Rxml writes: a <Results> element with the
// <System>, the <Profile> and one <TimeSpan> of results per time span; a sweep appended to one file
// holds several) into the result table: one row per result <TimeSpan>, in order, with the cells the
// text output of the same run gives.
//
// - Direction, Type, Size, Outstanding IOs: from the first <Target> of the profile's time span of the
//   same place: <WriteRatio> 0 "Read", 100 "Write", else "Mixed R/W"; <Random> present "random", else
//   "sequential"; <BlockSize> in bytes as "4KB" or "512B"; <RequestCount> (the time span's own
//   <RequestCount> of the results when the target has none, as with -F and -O).
// - IO/Sec and MB/Sec: the sums of <IOCount> and <BytesCount> over every <Thread>'s <Target>s, over
//   <TestTimeSeconds>; MB/Sec in MiB.
// - Latencies, when the time span has its <Latency> (-L): Min and Max from the <TotalMilliseconds>
//   of the <Bucket>s of <Percentile> 0 and 100, Avg from <AverageTotalMilliseconds>; empty otherwise.
// A time span that lacks a part becomes an error row naming it; a document that is not well-formed or
// is cut off becomes one error row. Text outside the documents is skipped.
//
// With runDetails, each time span's row (error rows too) also keeps what the document says of it, as
// written: the <ComputerName>, the tool's <Version> and the <RunTime>; the profile's targets, <Duration>
// and <Warmup> (as "30s"), <IoBucketDuration> (with <CalculateIopsStdDev>), its first target's
// <BlockSize>, <RequestCount>, <WriteRatio> and cache flags; the results' <ThreadCount>; every <Bucket>
// of its <Latency> (-L) with its Read, Write and Total milliseconds; and the Total of every interval
// <Bucket> of its <Iops> (-D).
class DiskSpdXmlStream {
public:
    // A document may take at most maxDocument bytes of text; a larger one ends the reading with an
    // error row, so memory stays bounded whatever the file holds.
    explicit DiskSpdXmlStream(CListBase& table, std::size_t maxDocument = static_cast<std::size_t>(-1),
                              RunDetailsStore* runDetails = nullptr)
        : m_table(table), m_maxDocument(maxDocument), m_runDetails(runDetails) {}

    // Takes the next piece of decoded text; every document it completes is read at once and dropped,
    // so only the document being read is held.
    void Feed(std::string_view text);
    // Ends the text: a document left open is cut off. True when every row parsed.
    bool Finish();

private:
    // atEnd: no more text comes, so a start tag at its end is a (cut off) document's start.
    void ReadCompleteDocuments(bool atEnd);

    CListBase& m_table;
    std::size_t m_maxDocument;
    RunDetailsStore* m_runDetails;
    std::string m_pending;      // the text not yet read from m_begin on; before it, text read
    std::size_t m_begin = 0;    // the start of the open document (or of text that may hold one)
    bool m_inDocument = false;  // m_begin is a document's start
    std::size_t m_searched = 0; // how far from m_begin the text has been searched for the document's end
    std::size_t m_offset = 0;   // the text's offset of m_begin, for messages
    int m_documents = 0;
    bool m_allParsed = true;
    bool m_stopped = false;
};

// The whole decoded text of a report at once, as DiskSpdXmlStream reads it. True when every row parsed.
bool AddDiskSpdXmlRows(std::string_view text, CListBase& table, RunDetailsStore* runDetails = nullptr);
