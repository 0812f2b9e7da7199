// The CSV text of a list: field quoting, formula neutralising, the record layout and chunked writing.
#include "table/ListCsv.h"

#include <gtest/gtest.h>
#include <random>

namespace {

std::string Field(std::string_view cell) {
    std::string out;
    AppendCsvField(cell, out);
    return out;
}

CListBase MakeList(std::initializer_list<ListRow> rows) {
    CListBase list;
    list.AddCol(ColSortNumberAlt, "#", 40, 0);
    list.AddCol(ColSortText, "Type", 40, 0);
    list.AddCol(ColSortText, "Diag Details", 40, 0);
    for (const ListRow& row : rows)
        list.InsertRow(row);
    return list;
}

TEST(CsvField, QuotesOnlyWhatAReaderWouldOtherwiseMisread) {
    EXPECT_EQ(Field(""), "");
    EXPECT_EQ(Field("random"), "random");
    EXPECT_EQ(Field("in side"), "in side");
    EXPECT_EQ(Field("1,053.71"), "\"1,053.71\"");
    EXPECT_EQ(Field("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(Field("\""), "\"\"\"\"");
    EXPECT_EQ(Field("a\r\nb"), "\"a\r\nb\"");
    EXPECT_EQ(Field("a\nb"), "\"a\nb\"");
    EXPECT_EQ(Field("a\rb"), "\"a\rb\"");
    EXPECT_EQ(Field(" lead"), "\" lead\"");
    EXPECT_EQ(Field("8.23   "), "\"8.23   \"");
    EXPECT_EQ(Field("tab\t"), "\"tab\t\"");
    // Bytes pass through untouched, whatever the encoding.
    EXPECT_EQ(Field("caf\xc3\xa9 \xff\x80"), "caf\xc3\xa9 \xff\x80");
    EXPECT_EQ(Field(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CsvField, FormulaStartsGetAnApostropheUnlessPlainNumbers) {
    EXPECT_EQ(Field("=1+2"), "'=1+2");
    EXPECT_EQ(Field("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(Field("+cmd"), "'+cmd");
    EXPECT_EQ(Field("-2 ms"), "'-2 ms");
    EXPECT_EQ(Field("-"), "'-");
    EXPECT_EQ(Field("=HYPERLINK(\"http://x\",\"y\")"), "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"");
    // The apostrophe stands first, so a leading tab no longer calls for quotes, a trailing one does.
    EXPECT_EQ(Field("\t64KB"), "'\t64KB");
    EXPECT_EQ(Field("\t"), "\"'\t\"");
    EXPECT_EQ(Field("\rx"), "\"'\rx\"");
    EXPECT_EQ(Field("=a,b"), "\"'=a,b\"");
    for (const char* number : {"-5", "+16", "-0.5", "+.5", "-7.", "-1e3", "+2.5E-07", "0"})
        EXPECT_EQ(Field(number), number) << number;
    EXPECT_EQ(Field("a=b"), "a=b"); // only the first byte matters
}

TEST(CsvField, PlainNumbersAreWholeDecimalNumbersOnly) {
    for (const char* yes : {"0", "12", "-12", "+12", "3.5", ".5", "5.", "-.5", "1e9", "1E+9", "2.5e-3"})
        EXPECT_TRUE(IsPlainNumber(yes)) << yes;
    for (const char* no : {"", "-", "+", ".", "e5", "1e", "1e+", "1.2.3", " 1", "1 ", "1,5", "0x10", "inf",
                           "nan", "--1", "1-", "1e5x"})
        EXPECT_FALSE(IsPlainNumber(no)) << no;
}

TEST(CsvText, HeaderThenRowsInListOrderEachEndingInCrLf) {
    CListBase list = MakeList({{"1", "random", ""},
                               {"0", "", "Token [MBs/sec:] not found in test: sqlio v1.5\r\nIOs/sec: 1\r\n"},
                               {"2", "seq,uential", ""}});
    list.SortColumn(0, true, true);
    EXPECT_EQ(ListCsvText(list), "#,Type,Diag Details\r\n"
                                 "0,,\"Token [MBs/sec:] not found in test: sqlio v1.5\r\nIOs/sec: 1\r\n\"\r\n"
                                 "1,random,\r\n"
                                 "2,\"seq,uential\",\r\n");
}

// Rows are written whole when none of their cells needs anything; the record must still be exactly its
// fields written one by one, whichever cell holds the byte that needs something.
TEST(CsvText, EachRecordIsItsFieldsWrittenOneByOne) {
    std::mt19937 random(11);
    const std::string_view bytes = "ab9. ,\"\r\n\t=+-@";
    CListBase list = MakeList({});
    std::string expected = "#,Type,Diag Details\r\n";
    for (int row = 0; row < 2000; ++row) {
        ListRow cells(3);
        for (std::string& cell : cells)
            for (size_t length = random() % 5; length > 0; --length)
                cell += bytes[random() % (row % 2 == 0 ? 4 : bytes.size())];
        list.InsertRow(cells);
        expected += Field(cells[0]) + ',' + Field(cells[1]) + ',' + Field(cells[2]) + "\r\n";
    }
    EXPECT_EQ(ListCsvText(list), expected);
}

TEST(CsvText, EmptyListIsTheHeaderAloneAndNoColumnsIsOneEmptyLine) {
    EXPECT_EQ(ListCsvText(MakeList({})), "#,Type,Diag Details\r\n");
    EXPECT_EQ(ListCsvText(CListBase()), "\r\n");
}

TEST(CsvText, ChunksJoinToTheSameTextAndARefusedChunkStopsTheWrite) {
    CListBase list = MakeList({});
    for (int i = 0; i < 500; ++i)
        list.InsertRow({std::to_string(i), "a \"quoted\" cell", std::string(i % 7, ',')});
    const std::string whole = ListCsvText(list);

    std::string joined;
    int calls = 0;
    EXPECT_TRUE(WriteListCsv(
        list,
        [&](std::string_view chunk) {
            ++calls;
            joined.append(chunk);
            return true;
        },
        256));
    EXPECT_EQ(joined, whole);
    EXPECT_GT(calls, 20);

    calls = 0;
    EXPECT_FALSE(WriteListCsv(
        list,
        [&](std::string_view) {
            ++calls;
            return false;
        },
        256));
    EXPECT_EQ(calls, 1);
}

TEST(CsvAction, OnlyTheExportActionRunsAndABareListHasNoFileToWrite) {
    CListBase list = MakeList({{"0", "random", ""}});
    list.m_exportFolder = "/tmp";
    list.m_exportFileName = "Sqlio_Data.csv";
    EXPECT_FALSE(list.ProcessContextMenu(33));
    EXPECT_EQ(list.ExportError(), "Unknown list action 33");
    EXPECT_FALSE(list.ProcessContextMenu(CListBase::kListExportCsv));
    EXPECT_NE(list.ExportError().find("Sqlio_Data.csv"), std::string::npos);
}

} // namespace
