// The block reader that cuts the read buffer in stretches must give exactly the blocks that the plain
// line-by-line reference gives, however the text is chunked and bounded, and with the processor's 16-
// and 32-byte scans alike.
#include "platform/WideVectors.h"
#include "report/ReportBlocks.h"
#include "tests/reference/ReferenceReading.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<TestBlock> InStretches(const std::vector<std::string_view>& chunks, size_t maxLine,
                                   size_t maxBlock) {
    std::vector<TestBlock> blocks;
    ReportBlockReader reader(
        [&](std::string_view block, RunCut cut) {
            blocks.push_back({std::string(block), cut});
        },
        maxLine, maxBlock);
    for (std::string_view chunk : chunks)
        reader.Feed(chunk);
    reader.Finish();
    return blocks;
}

} // namespace

TEST(BlockReaderTest, JoinsLineEndsAcrossChunksAndKeepsItsBounds) {
    // A CR LF split between chunks is one line end; a line keeps its first maxLine bytes; a block past
    // maxBlock takes no more lines, yet the next run still starts its own. A block that lost bytes so says
    // how; text before the first run is no part of any.
    EXPECT_EQ(InStretches({"ignored line that is long\nsqlio v\r", "\ncd\r\r\n0123456789abc\nlast"}, 8, 1000),
              (std::vector<TestBlock>{{"sqlio v\r\ncd\r\n\r\n01234567\r\nlast\r\n", RunCut::Line}}));
    EXPECT_EQ(InStretches({"ignored\nsqlio v1\n0123456789\ndropped\nsqlio v2\nx"}, 1000, 10),
              (std::vector<TestBlock>{{"sqlio v1\r\n0123456789\r\n", RunCut::Tail}, {"sqlio v2\r\nx\r\n"}}));
}

TEST(BlockReaderTest, GivesTheBlocksOfTheLineByLineReferenceForAnyTextChunkingAndBounds) {
    // Lines that start runs, lines that only look alike, and ordinary ones of every length; line ends of
    // every kind, CR LF most of all as in real reports.
    const char* const pieces[] = {
        "sqlio v1.5",  "Command Line: diskspd", "Input parameters:", "IOs/sec: 12",    "s", "C", "I", "",
        "\tusing 8KB", "x threads reading y",   "latency metrics:",  "\ttimespan:   1"};
    const char* const ends[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", ""};
    std::mt19937 random(7);
    for (int round = 0; round < 800; ++round) {
        AllowWideVectors(round % 8 < 4);
        std::string text;
        const int lines = static_cast<int>(random() % 120);
        for (int i = 0; i < lines; ++i) {
            text +=
                round % 2 == 1 && random() % 8 != 0 ? "ordinary line" : pieces[random() % std::size(pieces)];
            if (random() % 5 == 0)
                text += std::string(random() % 90, static_cast<char>('a' + random() % 26));
            // Half the texts have long stretches of ordinary lines that end in CR LF, LF alone or CR
            // alone, the other half line ends of every kind.
            const char* const usual = round % 6 == 3 ? "\n" : round % 6 == 5 ? "\r" : "\r\n";
            text += round % 2 == 1 && random() % 30 != 0 ? usual : ends[random() % std::size(ends)];
        }
        std::vector<std::string_view> chunks;
        for (size_t at = 0; at < text.size();) {
            const size_t size = std::min<size_t>(text.size() - at, 1 + random() % (round % 2 == 0 ? 7 : 700));
            chunks.push_back(std::string_view(text).substr(at, size));
            at += size;
        }
        const size_t maxLine = round % 3 == 0 ? 1 + random() % 40 : 16u << 20;
        const size_t maxBlock = round % 4 == 0 ? random() % 300 : 16u << 20;
        ASSERT_EQ(InStretches(chunks, maxLine, maxBlock), CutLineByLine(text, maxLine, maxBlock))
            << "round " << round << ": " << text;
    }
    AllowWideVectors(true);
}
