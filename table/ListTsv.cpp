#include "table/ListTsv.h"

#include "table/ListCsv.h"

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

} // namespace

std::string ListRowsTsv(const CListBase& list, const std::vector<int>& rows) {
    std::string out;
    std::vector<std::string> titles;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        titles.push_back(list.Column(column).title);
    AppendLine(titles, out);
    for (int row : rows)
        if (row >= 0 && row < list.GetItemCount())
            AppendLine(list.Row(row), out);
    return out;
}
