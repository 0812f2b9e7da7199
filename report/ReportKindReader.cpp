#include "report/ReportKindReader.h"

#include "report/FioJsonReader.h"
#include "report/ReportBlocks.h"
#include "report/ResultRow.h"

#include <memory>
#include <optional>

bool ReportKindReader::Read(ReportFile& file, const std::function<void(std::string_view, RunCut)>& onBlock,
                            unsigned long long unsizedLimit) {
    std::string head;
    std::optional<ReportKind> kind;
    std::unique_ptr<ReportBlockReader> blocks;
    const auto start = [&](ReportKind decided) {
        kind = decided;
        Start(decided, static_cast<std::size_t>(file.Size()));
        if (decided == ReportKind::Text)
            blocks = std::make_unique<ReportBlockReader>(onBlock);
        const std::string held = std::move(head);
        head = std::string();
        if (blocks)
            blocks->Feed(held);
        else
            Take(held);
    };
    const bool ok = file.ReadText(
        [&](std::string_view text) {
            if (kind) {
                if (blocks)
                    blocks->Feed(text);
                else
                    Take(text);
                return;
            }
            head.append(text);
            if (const std::optional<ReportKind> decided = DetectReportKind(head, false))
                start(*decided);
        },
        unsizedLimit);
    if (!kind)
        start(DetectReportKind(head, true).value_or(ReportKind::Text));
    // A cancelled read hands over nothing more: the load that asked for it drops its rows.
    if (blocks && !file.Cancelled())
        blocks->Finish();
    return ok;
}

void ReportKindReader::Start(ReportKind kind, std::size_t sizeHint) {
    m_kind = kind;
    m_document.clear();
    m_tooLarge = false;
    if (kind == ReportKind::DiskSpdXml)
        m_xml = std::make_unique<DiskSpdXmlStream>(
            m_table, m_documentLimit ? m_documentLimit() : static_cast<std::size_t>(-1), m_runDetails);
    // A JSON document is most of its file: room for it at once spares the copies of a growing string.
    else if (kind == ReportKind::FioJson && (!m_documentLimit || sizeHint <= m_documentLimit()))
        m_document.reserve(sizeHint + 1);
}

void ReportKindReader::Take(std::string_view text) {
    if (m_xml) {
        m_xml->Feed(text);
        return;
    }
    if (m_tooLarge)
        return;
    const std::size_t limit = m_documentLimit ? m_documentLimit() : static_cast<std::size_t>(-1);
    if (m_document.size() + text.size() > limit) {
        m_tooLarge = true;
        m_limitAtDrop = limit;
        std::string().swap(m_document);
        return;
    }
    m_document.append(text);
}

bool ReportKindReader::AddDocumentRows(const std::string& path, std::vector<std::string>& details) {
    CListBase& table = m_table;
    // Only a fio document is held whole; a DiskSpd XML document that grows too large is named by its stream.
    if (m_tooLarge) {
        AddErrorRow(table, "Error while reading " + path + ": its fio JSON would take more than " +
                               std::to_string(m_limitAtDrop >> 20) +
                               " MB of memory: too much for a file of this size");
        return false;
    }
    bool allParsed = true;
    if (m_xml) {
        allParsed = m_xml->Finish();
        m_xml.reset();
    } else if (m_kind == ReportKind::FioJson) {
        FioJsonSummary summary;
        allParsed = AddFioJsonRows(m_document, table, summary, m_runDetails);
        if (summary.trimOnlyJobs == 1)
            details.push_back("1 fio job that only trims was left out: it has no read or write to chart");
        else if (summary.trimOnlyJobs > 1)
            details.push_back(std::to_string(summary.trimOnlyJobs) +
                              " fio jobs that only trim were left out: they have no read or write to chart");
    }
    std::string().swap(m_document);
    return allParsed;
}
