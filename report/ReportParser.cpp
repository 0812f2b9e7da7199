#include "report/ReportParser.h"

#include "table/CharClass.h"

#include <cstring>
#include <optional>

namespace {

struct ColumnSpec {
    int sortType;
    const char* title;
    int width;
};

constexpr ColumnSpec kResultColumns[kResultColumnCount] = {
    {4, "#", 44},
    {0, "Direction", 81},
    {0, "Type", 73},
    {4, "Size", 90},
    {4, "Outstanding IOs", 122},
    {2, "IO/Sec", 90},
    {2, "MB/Sec", 87},
    {4, "Min_Latency", 96},
    {4, "Avg_Latency", 99},
    {4, "Max_Latency", 102},
    {0, "Diag Details", 71},
};

const std::string kThreads = " threads ";
const std::string kUsing = "\tusing ";
const std::string kPerThreadWith = "per thread with ";
const char* const kValueTokens[] = {
    "IOs/sec:", "MBs/sec:", "Min_Latency(ms):", "Avg_Latency(ms):", "Max_Latency(ms):"};

// Position of token in block at or after from, or npos. Horspool's search: the byte under the end of
// the window says how far the token can move, so the letters and spaces of a report are stepped over
// instead of stopping at each one.
size_t FindToken(const std::string& block, const std::string& token, size_t from) {
    const size_t length = token.size();
    if (length == 0 || from > block.size() || length > block.size() - from)
        return std::string::npos;
    if (length > 255)
        return block.find(token, from);
    unsigned char shift[256];
    std::memset(shift, static_cast<int>(length), sizeof shift);
    for (size_t i = 0; i + 1 < length; ++i)
        shift[static_cast<unsigned char>(token[i])] = static_cast<unsigned char>(length - 1 - i);
    const auto* const data = reinterpret_cast<const unsigned char*>(block.data());
    const auto first = static_cast<unsigned char>(token.front());
    const auto lastByte = static_cast<unsigned char>(token.back());
    const size_t last = block.size() - length; // last possible start
    for (size_t at = from; at <= last;) {
        const unsigned char end = data[at + length - 1];
        if (end == lastByte && data[at] == first && std::memcmp(data + at, token.data(), length - 1) == 0)
            return at;
        at += shift[end];
    }
    return std::string::npos;
}

struct Word {
    std::string text;
    size_t next; // one past the space that ended the word
};

// The word at start runs up to the first space found from start + 1. A word with no space after it
// anywhere in the block (a truncated report) is no word at all.
std::optional<Word> WordAt(const std::string& block, size_t start) {
    const size_t end = block.find(' ', start + 1);
    if (end == std::string::npos || start > block.size())
        return std::nullopt;
    return Word{block.substr(start, end - start), end + 1};
}

std::string TokenMessage(const std::string& token, const std::string& block) {
    return "Token [" + token + "] not found in test: " + block;
}

std::string TrimRight(std::string text) {
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.pop_back();
    return text;
}

void AppendRow(CListBase& table, TestResultRow& cells) {
    cells[kColNumber] = table.GetItemCount_s_FAST();
    table.InsertRow(std::move(cells));
}

} // namespace

void AddResultColumns(CListBase& table) {
    for (const ColumnSpec& column : kResultColumns)
        table.AddCol(column.sortType, column.title, column.width, 0, -1);
}

void AddErrorRow(CListBase& table, const std::string& message) {
    TestResultRow cells(kResultColumnCount);
    cells[kColDiagDetails] = message;
    AppendRow(table, cells);
}

bool FindTokenValue(const std::string& block, size_t& position, const std::string& token, std::string& value,
                    CListBase& table) {
    const size_t found = FindToken(block, token, position);
    if (found == std::string::npos) {
        AddErrorRow(table, TokenMessage(token, block));
        return false;
    }
    position = found + token.size();
    // The value is the rest of the line: up to the first CR searched from one past the token's end.
    const size_t cr = position + 1 > block.size() ? std::string::npos : block.find('\r', position + 1);
    std::string rest =
        cr == std::string::npos ? block.substr(position) : block.substr(position, cr - position);
    size_t lead = 0;
    while (lead < rest.size() && IsWhiteSpace(rest[lead]))
        ++lead;
    value = rest.substr(lead);
    return true;
}

bool ParseTest(const std::string& block, CListBase& table) {
    TestResultRow cells(kResultColumnCount);

    // Direction: the first " threads " followed by the word "reading" or "writing".
    size_t threads = FindToken(block, kThreads, 0);
    if (threads == std::string::npos) {
        AddErrorRow(table, TokenMessage(kThreads, block));
        return false;
    }
    std::optional<Word> direction;
    while (threads != std::string::npos) {
        direction = WordAt(block, threads + kThreads.size());
        if (!direction)
            break;
        if (direction->text == "reading") {
            cells[kColDirection] = "Read";
            break;
        }
        if (direction->text == "writing") {
            cells[kColDirection] = "Write";
            break;
        }
        direction.reset();
        threads = FindToken(block, kThreads, threads + 1);
    }
    if (!direction) {
        AddErrorRow(table, "Token [reading]/[Writing] not found in test: " + block);
        return false;
    }

    // Block size and access type: the two words after "\tusing ".
    const size_t usingAt = FindToken(block, kUsing, direction->next);
    if (usingAt == std::string::npos) {
        AddErrorRow(table, TokenMessage(kUsing, block));
        return false;
    }
    const std::optional<Word> size = WordAt(block, usingAt + kUsing.size());
    const std::optional<Word> type = size ? WordAt(block, size->next) : std::nullopt;
    if (!type) {
        AddErrorRow(table, TokenMessage(kUsing, block));
        return false;
    }
    cells[kColSize] = TrimRight(size->text);
    cells[kColType] = type->text;

    // Outstanding I/Os per thread.
    const size_t with = FindToken(block, kPerThreadWith, type->next);
    const std::optional<Word> outstanding =
        with == std::string::npos ? std::nullopt : WordAt(block, with + kPerThreadWith.size());
    if (!outstanding) {
        AddErrorRow(table, TokenMessage(kPerThreadWith, block));
        return false;
    }
    cells[kColOutstanding] = outstanding->text;

    size_t position = outstanding->next;
    int column = kColIOsPerSec;
    for (const char* token : kValueTokens) {
        if (!FindTokenValue(block, position, token, cells[column], table))
            return false;
        ++column;
    }
    AppendRow(table, cells);
    return true;
}
