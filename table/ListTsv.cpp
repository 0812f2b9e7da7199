#include "table/ListTsv.h"

#include "table/ListCsv.h"

#include <algorithm>

namespace {

void AppendTsvField(std::string_view cell, std::string& out) {
    const bool quoted = cell.find_first_of("\t\r\n\"") != std::string_view::npos;
    if (quoted)
        out += '"';
    if (StartsFormula(cell))
        out += '\'';
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    if (quoted)
        out += '"';
}

template <class Cells> void AppendLine(const Cells& cells, std::string& out) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += '\t';
        AppendTsvField(cells[i], out);
    }
    out += '\n';
}

bool IsRow(const CListBase& list, int row) {
    return row >= 0 && row < list.GetItemCount();
}

} // namespace

void WriteRowsTsv(const CListBase& list, const std::vector<int>& rows,
                  const std::function<void(std::string_view)>& line) {
    std::string text; // one line at a time, its room reused
    std::vector<std::string_view> titles;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        titles.push_back(list.Column(column).title);
    AppendLine(titles, text);
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
    const int columns = list.GetColumnCount();
    // Every line ends in LF, a line of no cells too; the tabs between the cells make up the rest.
    const std::size_t separators = static_cast<std::size_t>(std::max(columns, 1));
    std::size_t bytes = separators;
    for (int column = 0; column < columns; ++column)
        bytes += list.Column(column).title.size();
    for (int row : rows)
        if (IsRow(list, row))
            bytes += list.Row(row).Text().size() + separators;
    return bytes;
}
