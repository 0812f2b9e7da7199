// Turning one test block into one row of the result table.
#include "platform/WideVectors.h"
#include "report/ReportBlocks.h"
#include "report/ReportParser.h"
#include "report/ResultRow.h"
#include "report/RunParser.h"
#include "tests/reference/ScalarSqlioParser.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// A block as the loader builds it: every line followed by CR LF.
std::string Block(std::initializer_list<const char*> lines) {
    std::string block;
    for (const char* line : lines)
        block += std::string(line) + "\r\n";
    return block;
}

std::string GoodBlock() {
    return Block({"sqlio v1.5.SG", "using system counter for latency timings, 2343750 counts per second",
                  "\tfile E:\\t.dat with 2 threads (0-1) using mask 0x0 (0)",
                  "2 threads writing for 120 secs from file E:\\t.dat", "\tusing 8KB random IOs",
                  "\tenabling multiple I/Os per thread with 8 outstanding",
                  "CUMULATIVE DATA:", "IOs/sec:  1654.21", "MBs/sec:    12.92", "Min_Latency(ms): 0",
                  "Avg_Latency(ms): 9", "Max_Latency(ms): 152", "histogram:"});
}

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override { AddResultColumns(table); }
    std::string_view Cell(int row, int column) const { return table.CellRef(row, column); }
    CListBase table;
};

TEST_F(ParserTest, ParsesEveryCellOfARun) {
    ASSERT_TRUE(ParseTest(GoodBlock(), table));
    ASSERT_EQ(table.GetItemCount(), 1);
    const std::vector<std::string> expected = {"0",     "Write", "random", "8KB", "8", "1654.21",
                                               "12.92", "0",     "9",      "152", ""};
    EXPECT_EQ(table.Row(0), expected);
}

TEST_F(ParserTest, DirectionSearchSkipsOtherWordsAfterThreads) {
    // The first " threads " is followed by "(0-1)", which is skipped; capitalised words never match.
    std::string block = GoodBlock();
    ASSERT_TRUE(ParseTest(block, table));
    EXPECT_EQ(Cell(0, kColDirection), "Write");

    const std::string capitalised =
        Block({"sqlio v1.5", "2 threads Reading for 1 secs", "\tusing 8KB random IOs",
               "per thread with 1 outstanding", "IOs/sec: 1"});
    EXPECT_FALSE(ParseTest(capitalised, table));
    EXPECT_EQ(Cell(1, kColDiagDetails), "Token [reading]/[Writing] not found in test: " + capitalised);
}

TEST_F(ParserTest, ValuesAreTrimmedOnTheLeftOnly) {
    std::string block = GoodBlock();
    block.replace(block.find("IOs/sec:  1654.21"), 17, "IOs/sec:   77.5  ");
    ASSERT_TRUE(ParseTest(block, table));
    EXPECT_EQ(Cell(0, kColIOsPerSec), "77.5  ");
}

TEST_F(ParserTest, ValueTokenAtLineEndTakesTheNextLine) {
    std::string block = GoodBlock();
    block.replace(block.find("IOs/sec:  1654.21"), 17, "IOs/sec:\r\n   1654.21");
    ASSERT_TRUE(ParseTest(block, table));
    EXPECT_EQ(Cell(0, kColIOsPerSec), "1654.21");
    EXPECT_EQ(Cell(0, kColMBsPerSec), "12.92");
}

TEST_F(ParserTest, ABlankValueStaysEmptyWhateverWhiteSpaceFollowsIt) {
    // The value's line ends before the blanks after it do: a blank line, or a next line with more blanks
    // than one vector step looks at, must not carry the value on into the rest of the run.
    const std::string run = "sqlio v1.5.SG\n1 threads reading for 1 secs\n\tusing 8KB random IOs\n"
                            "per thread with 1 outstanding\n";
    const std::string tail = "Min_Latency(ms): 0\nAvg_Latency(ms): 1\nMax_Latency(ms): 2\n";
    const std::string reports[] = {run + "IOs/sec: \n             MBs/sec: 1\n" + tail,
                                   run + "IOs/sec:\n\n             MBs/sec: 1\n" + tail};
    const std::vector<std::string> expected = {"0", "Read", "random", "8KB", "1", "", "1", "0", "1", "2", ""};
    for (const bool wide : {true, false}) {
        AllowWideVectors(wide);
        for (const std::string& report : reports) {
            for (const char* lineEnd : {"\r\n", "\n"}) {
                std::string text;
                for (char c : report)
                    text += c == '\n' ? std::string(lineEnd) : std::string(1, c);
                CListBase rows;
                AddResultColumns(rows);
                ReportBlockReader reader(
                    [&](std::string_view block, RunCut) { EXPECT_TRUE(ParseRun(block, rows)); });
                reader.Feed(text);
                reader.Finish();
                ASSERT_EQ(rows.GetItemCount(), 1);
                EXPECT_EQ(rows.Row(0), expected) << "wide " << wide << ": " << text;
            }
        }
    }
    AllowWideVectors(true);
}

TEST_F(ParserTest, SizeIsTrimmedOnTheRightAndTypeIsKeptVerbatim) {
    std::string block = GoodBlock();
    block.replace(block.find("8KB random"), 10, "64KB\t odd");
    ASSERT_TRUE(ParseTest(block, table));
    EXPECT_EQ(Cell(0, kColSize), "64KB");
    EXPECT_EQ(Cell(0, kColType), "odd");
}

TEST_F(ParserTest, EachMissingTokenNamesItselfAndDropsTheFoundCells) {
    struct Case {
        const char* remove;
        const char* token;
    };
    const Case cases[] = {{"\tusing ", "\tusing "},
                          {"per thread with ", "per thread with "},
                          {"IOs/sec:", "IOs/sec:"},
                          {"MBs/sec:", "MBs/sec:"},
                          {"Min_Latency(ms):", "Min_Latency(ms):"},
                          {"Avg_Latency(ms):", "Avg_Latency(ms):"},
                          {"Max_Latency(ms):", "Max_Latency(ms):"}};
    int row = 0;
    for (const Case& c : cases) {
        std::string block = GoodBlock();
        const std::string remove = c.remove;
        block.replace(block.find(remove), remove.size(), "XX ");
        EXPECT_FALSE(ParseTest(block, table)) << c.token;
        ASSERT_EQ(table.GetItemCount(), row + 1);
        EXPECT_EQ(Cell(row, kColNumber), std::to_string(row));
        for (int column = kColDirection; column <= kColMaxLatency; ++column)
            EXPECT_EQ(Cell(row, column), "") << c.token << " column " << column;
        EXPECT_EQ(Cell(row, kColDiagDetails),
                  std::string("Token [") + c.token + "] not found in test: " + block);
        ++row;
    }
    const std::string noThreads = Block({"sqlio v1.5", "nothing here"});
    EXPECT_FALSE(ParseTest(noThreads, table));
    EXPECT_EQ(Cell(row, kColDiagDetails), "Token [ threads ] not found in test: " + noThreads);
}

TEST_F(ParserTest, TokensMustComeInOrder) {
    // "MBs/sec:" only before "IOs/sec:": its search starts after "IOs/sec:" and fails.
    std::string block = GoodBlock();
    block.replace(block.find("MBs/sec:"), 8, "XX");
    block.replace(block.find("CUMULATIVE"), 10, "MBs/sec: 3");
    EXPECT_FALSE(ParseTest(block, table));
    EXPECT_EQ(Cell(0, kColDiagDetails).rfind("Token [MBs/sec:]", 0), 0u);
}

TEST_F(ParserTest, RowsAreNumberedAcrossErrorRows) {
    EXPECT_FALSE(ParseTest(Block({"sqlio v1.5", "garbage"}), table));
    EXPECT_TRUE(ParseTest(GoodBlock(), table));
    EXPECT_EQ(Cell(0, kColNumber), "0");
    EXPECT_EQ(Cell(1, kColNumber), "1");
}

TEST_F(ParserTest, TruncatedBlockEndsInAnErrorRowNamingTheToken) {
    // A report cut off right after a word: no space follows it anywhere, so the word never ends.
    const std::string good = GoodBlock();
    const struct {
        size_t cut;
        std::string message;
    } cases[] = {
        {good.find("writing") + 7, "Token [reading]/[Writing] not found in test: "},
        {good.find("8KB") + 3, "Token [\tusing ] not found in test: "},
        {good.find("random") + 6, "Token [\tusing ] not found in test: "},
        {good.find("with 8") + 6, "Token [per thread with ] not found in test: "},
    };
    int row = 0;
    for (const auto& c : cases) {
        const std::string block = good.substr(0, c.cut);
        EXPECT_FALSE(ParseTest(block, table));
        EXPECT_EQ(Cell(row, kColDiagDetails), c.message + block);
        ++row;
    }
    EXPECT_EQ(table.GetItemCount(), row);
}

TEST_F(ParserTest, ARunCutShortKeepsItsRowOnlyWhereWhatWasLeftOutCannotChangeIt) {
    // A SQLIO run cut at its tail gives the row of the lines read: its rules read nothing past the line of
    // "Max_Latency(ms):", unless that token ends the last line read and its value is the line left out.
    // Any other run the bounds cut is one error row with a short message.
    const std::string good = GoodBlock();
    const std::string upToMax = good.substr(0, good.find("Max_Latency(ms):") + 16) + "\r\n";
    const std::string diskspd = Block({"Command Line: x", "", "Input parameters:", "", "\ttimespan:   1"});
    const struct {
        std::string block;
        RunCut cut;
        bool parsed;
    } cases[] = {{good, RunCut::None, true},     {good, RunCut::Tail, true},
                 {good, RunCut::Line, false},    {upToMax, RunCut::Tail, false},
                 {diskspd, RunCut::Tail, false}, {Block({"sqlio v"}), RunCut::Tail, false}};
    int row = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(ParseReadBlock(c.block, c.cut, table), c.parsed) << row;
        EXPECT_EQ(Cell(row, kColNumber), std::to_string(row));
        if (c.parsed)
            EXPECT_EQ(Cell(row, kColMaxLatency), "152");
        else
            EXPECT_EQ(Cell(row, kColDiagDetails), "Run longer than 16 MiB; only its first 16 MiB were read")
                << row;
        ++row;
    }
}

// Real runs with lines dropped, cut short, indented, padded with blanks of every length and followed by
// blank lines, values on the line after their tokens, stray tokens put in, and a line after the values.
class MixedUpRuns {
public:
    std::string Next() {
        std::string block;
        for (const std::string& line : kLines) {
            switch (m_random() % 9) {
            case 0:
                break;
            case 1:
                block += Blanks() + line + "\r\n";
                break;
            case 2:
                block += line.substr(0, m_random() % (line.size() + 1)) + Blanks() + "\r\n";
                break;
            case 3:
                block += kLines[m_random() % std::size(kLines)] + " " + line + "\r\n";
                break;
            case 4: // the value on the line after its token
                block +=
                    line.substr(0, line.find(':') + 1) + "\r\n" + line.substr(line.find(':') + 1) + "\r\n";
                break;
            default:
                block += line + "\r\n";
            }
            if (m_random() % 4 == 0)
                block += Blanks() + "\r\n";
        }
        return block;
    }

private:
    std::string Blanks() { return std::string(m_random() % 40, " \t \t\v"[m_random() % 5]); }

    inline static const std::string kLines[] = {"sqlio v1.5.SG",
                                                "2 threads (0-1) using mask",
                                                "2 threads writing for 120 secs",
                                                "\tusing 8KB random IOs",
                                                "per thread with 8 outstanding",
                                                "IOs/sec:  1654.21",
                                                "MBs/sec:    12.92",
                                                "Min_Latency(ms): 0",
                                                "Avg_Latency(ms): 9",
                                                "Max_Latency(ms): 152",
                                                "histogram:"};
    std::mt19937 m_random{11};
};

TEST(ParserReferenceTest, ParseTestGivesTheRowOfTheByteByByteRulesForMixedUpRuns) {
    // The vector scans must find what a plain loop finds.
    MixedUpRuns runs;
    for (int round = 0; round < 5000; ++round) {
        const std::string block = runs.Next();
        CListBase fast, plain;
        AddResultColumns(fast);
        AddResultColumns(plain);
        ASSERT_EQ(ParseTest(block, fast), ScalarParseTest(block, plain)) << block;
        ASSERT_EQ(fast.Row(0), plain.Row(0)) << block;
    }
}

TEST(ParserReferenceTest, ARowKeptFromTheFirstLinesOfARunIsTheRowOfTheWholeRun) {
    // What the bound on blocks keeps of a run is its first lines: where they give a row, it must be the
    // row of the whole run, whichever line the bound falls after.
    MixedUpRuns runs;
    for (int round = 0; round < 1000; ++round) {
        const std::string whole = runs.Next();
        CListBase wholeRow;
        AddResultColumns(wholeRow);
        const bool parsed = ParseTest(whole, wholeRow);
        for (size_t end = whole.find('\n'); end != std::string::npos; end = whole.find('\n', end + 1)) {
            CListBase keptRow;
            AddResultColumns(keptRow);
            if (!ParseReadBlock(std::string_view(whole).substr(0, end + 1), RunCut::Tail, keptRow))
                continue;
            ASSERT_TRUE(parsed) << whole;
            ASSERT_EQ(keptRow.Row(0), wholeRow.Row(0)) << whole.substr(0, end + 1);
        }
    }
}

} // namespace
