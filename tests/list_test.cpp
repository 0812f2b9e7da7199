// The result list's data: sorting, means, maxima, and reading numbers out of cells.
#include "table/CellNumber.h"
#include "table/FormatNumeric.h"
#include "table/ListBase.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

CListBase MakeList(std::initializer_list<ListRow> rows) {
    CListBase list;
    list.AddCol(ColSortText, "Text", 50, 0);
    list.AddCol(ColSortNumber, "Number", 50, 0);
    list.AddCol(ColSortNumberAlt, "Id", 50, 0);
    for (const ListRow& row : rows)
        list.InsertRow(row);
    return list;
}

std::vector<std::string> ColumnOf(const CListBase& list, int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < list.GetItemCount(); ++row)
        cells.emplace_back(list.CellRef(row, column));
    return cells;
}

TEST(CellNumber, ReadsTheLeadingDecimalNumberOnly) {
    EXPECT_DOUBLE_EQ(LeadingNumber("  123.456 ms"), 123.456);
    EXPECT_DOUBLE_EQ(LeadingNumber("\t-2.5"), -2.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("64KB"), 64.0);
    EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("7."), 7.0);
    for (const char* none : {"", "   ", "abc", "inf", "nan", "-", ".", "+x", "0x1p3"})
        EXPECT_DOUBLE_EQ(LeadingNumber(none), 0.0) << none;
    EXPECT_DOUBLE_EQ(LeadingNumber(std::string(400, '9')), 0.0); // overflows: not a usable number
    EXPECT_EQ(LeadingWholeNumber("16 outstanding"), 16);
    EXPECT_EQ(LeadingWholeNumber("99.99"), 99);
    EXPECT_EQ(LeadingWholeNumber("123456789012345678"), 123456789012345678); // no rounding through a double
    EXPECT_EQ(TruncateToWhole(-3.7), -3);
    EXPECT_EQ(TruncateToWhole(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(TruncateToWhole(1e300), 0);
}

// Plain decimals take a short cut; a leading blank sends the same number through the full conversion,
// and the two must agree bit for bit.
TEST(CellNumber, PlainDecimalsReadBitForBitAsTheFullConversionReadsThem) {
    std::mt19937 random(11);
    const std::string alphabet = "0123456789012345678901234567890123456789..-+ eEx";
    for (int i = 0; i < 200000; ++i) {
        std::string cell;
        const size_t length = random() % 22;
        for (size_t j = 0; j < length; ++j)
            cell += alphabet[random() % alphabet.size()];
        if (i % 2 == 0) // well-formed decimals of every length around the 15-digit limit
            cell = std::to_string(random() % 100000000) + "." +
                   std::to_string(random()).substr(0, random() % 12);
        const double quick = LeadingNumber(cell);
        const double full = LeadingNumber(" " + cell);
        ASSERT_EQ(std::memcmp(&quick, &full, sizeof quick), 0) << cell << " " << quick << " " << full;
    }
}

TEST(FormatNumeric, TwoDecimalsWithAPointAndNeverNanOrInfinity) {
    const CFormatNumeric format;
    EXPECT_EQ(format.Format_d(123.456, 2, -1), "123.46");
    EXPECT_EQ(format.Format_d(1234567.0, 2, -1), "1234567.00");
    EXPECT_EQ(format.Format_d(0.005, 2, -1), "0.01");
    EXPECT_EQ(format.Format_d(std::nan(""), 2, -1), "0.00");
    EXPECT_EQ(format.Format_d(std::numeric_limits<double>::infinity(), 2, -1), "0.00");
}

TEST(ListBase, InsertKeepsOrderAndPadsOrCutsCells) {
    CListBase list = MakeList({{"b", "2"}, {"a", "1", "x", "extra"}});
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemCount_s_FAST(), "2");
    EXPECT_EQ(list.Row(0), (ListRow{"b", "2", ""}));
    EXPECT_EQ(list.Row(1), (ListRow{"a", "1", "x"}));
    std::string text = "stale";
    EXPECT_FALSE(list.GetItemTextEx_Fast(5, 0, text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(list.GetItemTextEx_Fast(1, 2, text));
    EXPECT_EQ(text, "x");
    list.DeleteAllItems(false);
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST(ListBase, CellsOfEverySizeSurviveManyRowsSortsCopiesAndALateColumn) {
    // Rows of short cells, of a row's text right at and just past the short form's 255 bytes, and of a
    // huge cell (as an error row holds a whole run), enough of them to fill many storage pages.
    const std::string huge(40000, 'h');
    std::vector<ListRow> rows;
    for (int i = 0; i < 4000; ++i) {
        const std::string id = std::to_string(i);
        switch (i % 4) {
        case 0:
            rows.push_back({"", "", id});
            break;
        case 1:
            rows.push_back({std::string(255 - 2 * id.size(), 'a'), id, id});
            break;
        case 2:
            rows.push_back({std::string(256 - 2 * id.size(), 'b'), id, id});
            break;
        default:
            rows.push_back({i % 400 == 3 ? huge + id : id, "", id});
            break;
        }
    }
    CListBase list = MakeList({});
    for (const ListRow& row : rows)
        list.InsertRow(row);
    list.SortColumn(2, false, true);
    list.SortColumn(2, true, true);
    const CListBase copy = list;
    list.AddCol(ColSortText, "Late", 50, 0);
    for (int i = 0; i < 4000; ++i) {
        if (i % 97 != 0 && i % 400 != 3)
            continue;
        EXPECT_EQ(copy.Row(i), rows[i]) << i;
        ListRow widened = rows[i];
        widened.emplace_back();
        EXPECT_EQ(list.Row(i), widened) << i;
    }
    EXPECT_EQ(list.SortedColumn(), 2) << "a new column keeps the sort";
}

TEST(ListBase, TextSortIgnoresCaseAndIsStable) {
    CListBase list = MakeList({{"write", "", "0"}, {"Read", "", "1"}, {"read", "", "2"}, {"Write", "", "3"}});
    list.SortColumn(0, true, true);
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"1", "2", "0", "3"}));
}

TEST(ListBase, NumericSortUsesTheLeadingNumberAndIsStable) {
    CListBase list = MakeList({{"", "  10", "0"},
                               {"", "9.5", "1"},
                               {"", "", "2"},
                               {"", "100", "3"},
                               {"", "abc", "4"},
                               {"", "9.5 again", "5"}});
    list.SortColumn(1, true, true);
    // Empty and non-numeric cells read as 0 and keep their order among themselves.
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"2", "4", "1", "5", "0", "3"}));
    list.SortColumn(2, true, true); // back to insertion order: "10" after "9" numerically
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
}

TEST(ListBase, ToggleReversesOnlyTheSameColumnAndLoaderSortsStayAscending) {
    CListBase list = MakeList({{"", "3", "0"}, {"", "1", "1"}, {"", "2", "2"}, {"", "1", "3"}});
    list.SortColumnToggle(1);
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"1", "3", "2", "0"}));
    list.SortColumnToggle(1);
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"0", "2", "1", "3"})); // stable descending
    list.SortColumn(1, true, true);
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"1", "3", "2", "0"}));
    list.SortColumn(1, true, true);
    EXPECT_EQ(ColumnOf(list, 2), (std::vector<std::string>{"1", "3", "2", "0"}));
}

TEST(ListBase, MeansSkipEmptyCellsAndNeverDivideByZero) {
    CListBase list =
        MakeList({{"random", "100", "0"}, {"random", " 50", "1"}, {"", "", "2"}, {"seq", "7", "3"}});
    std::string text = "random";
    EXPECT_DOUBLE_EQ(list.AvgColumn_d(1, 0, text, 1.0), 75.0);
    EXPECT_EQ(text, "75.00");
    std::string all;
    EXPECT_DOUBLE_EQ(list.AvgColumn_d(1, -1, all, 1.0), 157.0 / 3.0); // the error-like row does not count
    EXPECT_EQ(all, "52.33");
    std::string divided = "random";
    EXPECT_DOUBLE_EQ(list.AvgColumn_d(1, 0, divided, 4.0), 18.75);
    std::string none = "sequential";
    EXPECT_DOUBLE_EQ(list.AvgColumn_d(1, 0, none, 1.0), 0.0);
    EXPECT_EQ(none, "0.00");
    std::string zero = "random";
    EXPECT_DOUBLE_EQ(list.AvgColumn_d(1, 0, zero, 0.0), 0.0);
    EXPECT_EQ(zero, "0.00");
    // Matching is exact and case-sensitive.
    std::string upper = "Random";
    EXPECT_DOUBLE_EQ(list.AvgColumn_d(1, 0, upper, 1.0), 0.0);
}

TEST(ListBase, MaximumIgnoresEmptyCells) {
    EXPECT_DOUBLE_EQ(MakeList({{"", "-5"}, {"", ""}, {"", "-2"}}).MaxColumn_d(1), -2.0);
    EXPECT_DOUBLE_EQ(MakeList({{"", "12"}, {"", " 152"}, {"", "9"}}).MaxColumn_d(1), 152.0);
    EXPECT_DOUBLE_EQ(MakeList({}).MaxColumn_d(1), 0.0);
}

} // namespace
