#pragma once

#include "report/DiskSpdXmlReader.h"
#include "report/ReportFile.h"
#include "report/ReportKind.h"
#include "table/ListBase.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Reads an opened report whatever its kind, told from its content (DetectReportKind), never from its
// name. Text reports are cut into test blocks as ReportFile::ReadBlockViews cuts them, one block at a
// time. DiskSpd XML documents are read one at a time as each one ends (their rows go to table at
// once). A fio JSON report is one document that its parser needs whole: its decoded text is held until
// the end. Either may take at most documentLimit() bytes of text (asked as the text grows, so the
// bound can follow a file that grows while it is read); a larger one is dropped and named by an error
// row, so memory stays bounded as it does for text.
//
// With runDetails, each run of an XML or JSON report keeps its details there too (DiskSpdXmlStream,
// AddFioJsonRows), as the text readers keep theirs.
class ReportKindReader {
public:
    ReportKindReader(CListBase& table, std::function<std::size_t()> documentLimit,
                     RunDetailsStore* runDetails = nullptr)
        : m_table(table), m_documentLimit(std::move(documentLimit)), m_runDetails(runDetails) {}

    // Reads to the end, handing the blocks of a text report to onBlock (each valid only during the
    // call); false on a read error (what was read before it is kept).
    // A file without a size is read to at most unsizedLimit bytes (ReportFile::ReadText).
    bool Read(ReportFile& file, const std::function<void(std::string_view, RunCut)>& onBlock,
              unsigned long long unsizedLimit = ReportFile::kUnsizedReadLimit);
    ReportKind Kind() const { return m_kind; }

    // For a DiskSpd XML or fio JSON report, appends the rows still to come (error rows included) and
    // adds the lines that say more than the rows (jobs left out) to details. True when every row parsed.
    bool AddDocumentRows(const std::string& path, std::vector<std::string>& details);

private:
    void Start(ReportKind kind, std::size_t sizeHint);
    void Take(std::string_view text);

    CListBase& m_table;
    std::unique_ptr<DiskSpdXmlStream> m_xml;
    std::function<std::size_t()> m_documentLimit;
    RunDetailsStore* m_runDetails;
    ReportKind m_kind = ReportKind::Text;
    std::string m_document;
    std::size_t m_limitAtDrop = 0;
    bool m_tooLarge = false;
};
