#include "tests/reference/ScalarSqlioParser.h"

#include "report/ResultRow.h"
#include "table/CharClass.h"

namespace {

constexpr size_t kNotFound = static_cast<size_t>(-1);

size_t Find(const std::string& block, const std::string& text, size_t from) {
    for (size_t at = from; at < block.size() && text.size() <= block.size() - at; ++at) {
        size_t same = 0;
        while (same < text.size() && block[at + same] == text[same])
            ++same;
        if (same == text.size())
            return at;
    }
    return kNotFound;
}

// The word at start: the text up to the first space found from start + 1. False when no space follows
// anywhere in the block.
bool WordAt(const std::string& block, size_t start, std::string& word, size_t& next) {
    for (size_t at = start + 1; at < block.size(); ++at) {
        if (block[at] == ' ') {
            word = block.substr(start, at - start);
            next = at + 1;
            return true;
        }
    }
    return false;
}

std::string TrimRight(std::string text) {
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.pop_back();
    return text;
}

bool Fail(CListBase& table, const std::string& message) {
    AddErrorRow(table, message);
    return false;
}

} // namespace

bool ScalarFindTokenValue(const std::string& block, size_t& position, const std::string& token,
                          std::string& value, CListBase& table) {
    const size_t found = Find(block, token, position);
    if (found == kNotFound)
        return Fail(table, TokenMessage(token, block));
    position = found + token.size();
    size_t end = position + 1;
    while (end < block.size() && block[end] != '\r')
        ++end;
    if (end > block.size())
        end = block.size();
    size_t start = position;
    while (start < end && IsWhiteSpace(block[start]))
        ++start;
    value = block.substr(start, end - start);
    return true;
}

bool ScalarParseTest(const std::string& block, CListBase& table) {
    ListRow cells(kResultColumnCount);
    const std::string threads = " threads ";
    size_t at = Find(block, threads, 0);
    if (at == kNotFound)
        return Fail(table, TokenMessage(threads, block));
    std::string word;
    size_t next = 0;
    for (;;) {
        // A word that never ends (no space after it) fails the run as a missing direction does.
        if (!WordAt(block, at + threads.size(), word, next))
            return Fail(table, TokenMessage("reading]/[Writing", block));
        if (word == "reading" || word == "writing") {
            cells[kColDirection] = word == "reading" ? "Read" : "Write";
            break;
        }
        at = Find(block, threads, at + 1);
        if (at == kNotFound)
            return Fail(table, TokenMessage("reading]/[Writing", block));
    }

    const std::string usingToken = "\tusing ";
    const size_t usingAt = Find(block, usingToken, next);
    std::string size, type;
    if (usingAt == kNotFound || !WordAt(block, usingAt + usingToken.size(), size, next) ||
        !WordAt(block, next, type, next))
        return Fail(table, TokenMessage(usingToken, block));
    cells[kColSize] = TrimRight(size);
    cells[kColType] = type;

    const std::string with = "per thread with ";
    const size_t withAt = Find(block, with, next);
    if (withAt == kNotFound || !WordAt(block, withAt + with.size(), cells[kColOutstanding], next))
        return Fail(table, TokenMessage(with, block));

    size_t position = next;
    int column = kColIOsPerSec;
    for (const char* token :
         {"IOs/sec:", "MBs/sec:", "Min_Latency(ms):", "Avg_Latency(ms):", "Max_Latency(ms):"})
        if (!ScalarFindTokenValue(block, position, token, cells[column++], table))
            return false;
    AddResultRow(table, cells);
    return true;
}
