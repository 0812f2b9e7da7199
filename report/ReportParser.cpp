#include "report/ReportParser.h"

#include "report/ByteScan.h"
#include "report/ResultRow.h"
#include "table/CharClass.h"

#include <optional>

namespace {

const Token kThreads(" threads ");
const Token kUsing("\tusing ");
const Token kPerThreadWith("per thread with ");
const Token kValueTokens[] = {Token("IOs/sec:"), Token("MBs/sec:"), Token("Min_Latency(ms):"),
                              Token("Avg_Latency(ms):"), Token("Max_Latency(ms):")};

bool SameText(std::string_view text, std::string_view expected) {
    return text.size() == expected.size() && SameBytes(text.data(), expected);
}

struct Word {
    std::string_view text;
    size_t next; // one past the space that ended the word
};

// The word at start runs up to the first space found from start + 1. A word with no space after it
// anywhere in the block (a truncated report) is no word at all.
[[gnu::always_inline]] inline std::optional<Word> WordAt(std::string_view block, size_t start) {
    if (start > block.size())
        return std::nullopt;
    const size_t end = FindByte(block, ' ', start + 1);
    if (end == std::string_view::npos)
        return std::nullopt;
    return Word{block.substr(start, end - start), end + 1};
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The value after token, searching from position; position moves just past the token. The value is
// the rest of the line (up to the first CR searched from one past the token's end), leading white
// space skipped. Nothing when the token is missing.
[[gnu::always_inline]] inline std::optional<std::string_view>
ValueAfter(std::string_view block, size_t& position, const Token& token) {
    const size_t found = token.FindIn(block, position);
    if (found == std::string_view::npos)
        return std::nullopt;
    position = found + token.Size();
    const size_t cr = FindByte(block, '\r', position + 1);
    const size_t end = cr == std::string_view::npos ? block.size() : cr;
    const size_t lead = LeadingWhiteSpace(block, position, end);
    return block.substr(position + lead, end - position - lead);
}

} // namespace

bool FindTokenValue(const std::string& block, size_t& position, const std::string& token, std::string& value,
                    CListBase& table) {
    const std::optional<std::string_view> found = ValueAfter(block, position, Token(token));
    if (!found) {
        AddErrorRow(table, TokenMessage(token, block));
        return false;
    }
    value = *found;
    return true;
}

bool ParseTest(std::string_view block, CListBase& table) {
    const std::string_view text(block);
    std::string_view cells[kResultColumnCount];

    // Direction: the first " threads " followed by the word "reading" or "writing".
    size_t threads = kThreads.FindIn(text, 0);
    if (threads == std::string_view::npos) {
        AddErrorRow(table, TokenMessage(kThreads.Text(), block));
        return false;
    }
    std::optional<Word> direction;
    while (threads != std::string_view::npos) {
        direction = WordAt(text, threads + kThreads.Size());
        if (!direction)
            break;
        if (SameText(direction->text, "reading")) {
            cells[kColDirection] = "Read";
            break;
        }
        if (SameText(direction->text, "writing")) {
            cells[kColDirection] = "Write";
            break;
        }
        direction.reset();
        threads = kThreads.FindIn(text, threads + 1);
    }
    if (!direction) {
        // The message names both words: "Token [reading]/[Writing] not found in test: ".
        AddErrorRow(table, TokenMessage("reading]/[Writing", block));
        return false;
    }

    // Block size and access type: the two words after "\tusing ".
    const size_t usingAt = kUsing.FindIn(text, direction->next);
    if (usingAt == std::string_view::npos) {
        AddErrorRow(table, TokenMessage(kUsing.Text(), block));
        return false;
    }
    const std::optional<Word> size = WordAt(text, usingAt + kUsing.Size());
    const std::optional<Word> type = size ? WordAt(text, size->next) : std::nullopt;
    if (!type) {
        AddErrorRow(table, TokenMessage(kUsing.Text(), block));
        return false;
    }
    cells[kColSize] = TrimRight(size->text);
    cells[kColType] = type->text;

    // Outstanding I/Os per thread.
    const size_t with = kPerThreadWith.FindIn(text, type->next);
    const std::optional<Word> outstanding =
        with == std::string_view::npos ? std::nullopt : WordAt(text, with + kPerThreadWith.Size());
    if (!outstanding) {
        AddErrorRow(table, TokenMessage(kPerThreadWith.Text(), block));
        return false;
    }
    cells[kColOutstanding] = outstanding->text;

    size_t position = outstanding->next;
    int column = kColIOsPerSec;
    for (const Token& token : kValueTokens) {
        const std::optional<std::string_view> value = ValueAfter(block, position, token);
        if (!value) {
            AddErrorRow(table, TokenMessage(token.Text(), block));
            return false;
        }
        cells[column++] = *value;
    }
    AddResultRow(table, cells);
    return true;
}
