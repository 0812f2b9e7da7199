// The byte scans against std::string_view::find and a plain loop, on texts built to put what is sought
// (or the white space before it) on each side of the scans' sixteen-byte steps and at the text's end.
#include "report/ByteScan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Texts of every length up to 70 from a small alphabet, so that bytes and tokens recur and part-matches
// are common; a third of them white space up to a last few bytes, so that blanks fill whole steps.
std::string RandomText(std::minstd_rand& random, size_t length) {
    static const char kBytes[] = {' ', ' ', '\t', '\r', '\n', '\v', '\f', 'a', 'b', ':', 's', 'I', 'O'};
    const size_t whiteUpTo = random() % 3 == 0 ? length - std::min<size_t>(length, random() % 4) : 0;
    std::string text(length, ' ');
    for (size_t i = 0; i < length; ++i)
        text[i] = kBytes[random() % (i < whiteUpTo ? 7 : sizeof kBytes)];
    return text;
}

TEST(ByteScanTest, EachScanFindsWhatThePlainSearchFinds) {
    std::minstd_rand random(22);
    const std::string_view tokens[] = {
        "a", "ab", " a ", "IOs:", "  b:  ", "IO:s ab", "abababab:", "sI Oa\tba:b"};
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomText(random, random() % 71);
        const std::string_view view(text);
        const size_t from = random() % (text.size() + 2);
        const char byte = "ab: \r"[random() % 5];
        ASSERT_EQ(FindByte(view, byte, from),
                  from > text.size() ? std::string_view::npos : view.find(byte, from))
            << text;
        const std::string_view token = tokens[random() % std::size(tokens)];
        ASSERT_EQ(Token(token).FindIn(view, from), view.find(token, from)) << text << " / " << token;

        // The white space from `from`, never counted past `to`.
        const size_t start = std::min(from, text.size());
        const size_t to = start + random() % (text.size() - start + 1);
        size_t plain = start;
        while (plain < to && IsWhiteSpace(text[plain]))
            ++plain;
        ASSERT_EQ(LeadingWhiteSpace(view, start, to), plain - start)
            << text << " from " << start << " to " << to;
    }
}

// A value followed by a long stretch of blanks: the sixteen-byte step must stop at the value's end.
TEST(ByteScanTest, WhiteSpaceStopsAtTheEndOfTheValueWhateverFollows) {
    for (size_t blanks = 0; blanks < 40; ++blanks)
        for (size_t after = 0; after < 40; ++after) {
            const std::string text = std::string(blanks, ' ') + std::string(after, '\n');
            EXPECT_EQ(LeadingWhiteSpace(text, 0, blanks), blanks);
            EXPECT_EQ(LeadingWhiteSpace(text, 0, 0), 0u);
        }
}

} // namespace
