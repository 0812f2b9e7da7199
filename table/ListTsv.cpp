#include "table/ListTsv.h"

#include "table/ListCsv.h"

#include <algorithm>

namespace {

// How a cell is written: in quotes (its quotes doubled) when it holds a tab, a line break or a quote,
// and after an apostrophe when a spreadsheet would run it as a formula.
struct TsvField {
    explicit TsvField(std::string_view text)
        : cell(text), quoted(text.find_first_of("\t\r\n\"") != std::string_view::npos),
          formula(StartsFormula(text)) {}
    std::size_t Bytes() const {
        std::size_t bytes = cell.size() + (formula ? 1 : 0);
        if (quoted)
            bytes += 2 + static_cast<std::size_t>(std::count(cell.begin(), cell.end(), '"'));
        return bytes;
    }
    void AppendTo(std::string& out) const {
        if (quoted)
            out += '"';
        if (formula)
            out += '\'';
        for (char c : cell) {
            if (c == '"')
                out += '"';
            out += c;
        }
        if (quoted)
            out += '"';
    }

    std::string_view cell;
    bool quoted;
    bool formula;
};

// A line's cells, each followed by a tab or, the last one, LF; a line of no cells is LF alone.
template <class Cells> void AppendLine(const Cells& cells, std::string& out) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += '\t';
        TsvField(cells[i]).AppendTo(out);
    }
    out += '\n';
}

template <class Cells> std::size_t LineBytes(const Cells& cells) {
    std::size_t bytes = std::max<std::size_t>(cells.size(), 1);
    for (size_t i = 0; i < cells.size(); ++i)
        bytes += TsvField(cells[i]).Bytes();
    return bytes;
}

std::vector<std::string_view> Titles(const CListBase& list) {
    std::vector<std::string_view> titles;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        titles.push_back(list.Column(column).title);
    return titles;
}

bool IsRow(const CListBase& list, int row) {
    return row >= 0 && row < list.GetItemCount();
}

} // namespace

void WriteRowsTsv(const CListBase& list, const std::vector<int>& rows,
                  const std::function<void(std::string_view)>& line) {
    std::string text; // one line at a time, its room reused
    AppendLine(Titles(list), text);
    line(text);
    for (int row : rows) {
        if (!IsRow(list, row))
            continue;
        text.clear();
        AppendLine(list.Row(row), text);
        line(text);
    }
}

std::string ListRowsTsv(const CListBase& list, const std::vector<int>& rows) {
    std::string out;
    WriteRowsTsv(list, rows, [&out](std::string_view line) { out.append(line); });
    return out;
}

std::size_t RowsTsvBytes(const CListBase& list, const std::vector<int>& rows) {
    std::size_t bytes = LineBytes(Titles(list));
    for (int row : rows)
        if (IsRow(list, row))
            bytes += LineBytes(list.Row(row));
    return bytes;
}
