#include "table/ListCsv.h"

#include "table/CharClass.h"

#include <cstring>

namespace {

// A byte that a reader would misread unless its field is quoted.
bool IsQuotedByte(char c) {
    return c == ',' || c == '"' || c == '\r' || c == '\n';
}

// A first byte with which a spreadsheet may take a cell for a formula.
bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// prefixed: the field is written after an apostrophe, so its own first byte is not the field's first.
bool NeedsQuotes(std::string_view cell, bool prefixed) {
    if (cell.empty())
        return false;
    if ((!prefixed && IsBlank(cell.front())) || IsBlank(cell.back()))
        return true;
    for (char c : cell) {
        if (IsQuotedByte(c))
            return true;
    }
    return false;
}

void AppendRecordEnd(std::string& out) {
    out += "\r\n";
}

// Whether every field of the row is its cell as it stands: no byte anywhere in the row that needs
// quotes, and no cell that begins or ends with a blank or begins like a formula. Nearly every row of a
// report is plain, and asking once for the row's whole text is cheaper than asking for each cell.
bool IsPlainRow(const ListRowView& cells) {
    for (const char c : cells.Text())
        if (IsQuotedByte(c))
            return false;
    for (const std::string_view cell : cells) {
        if (!cell.empty() && (IsBlank(cell.front()) || IsBlank(cell.back()) || IsFormulaStart(cell.front())))
            return false;
    }
    return true;
}

// Appends a plain row's record: its cells, commas between them, and CR LF, all written in one go.
void AppendPlainRecord(const ListRowView& cells, std::string& out) {
    const size_t at = out.size();
    out.resize(at + cells.Text().size() + (cells.size() - 1) + 2);
    char* to = out.data() + at;
    for (size_t column = 0; column < cells.size(); ++column) {
        if (column > 0)
            *to++ = ',';
        const std::string_view cell = cells[column];
        std::memcpy(to, cell.data(), cell.size());
        to += cell.size();
    }
    to[0] = '\r';
    to[1] = '\n';
}

} // namespace

bool StartsFormula(std::string_view cell) {
    if (cell.empty())
        return false;
    return IsFormulaStart(cell.front()) && !IsPlainNumber(cell);
}

bool IsPlainNumber(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

void AppendCsvField(std::string_view cell, std::string& out) {
    const bool formula = StartsFormula(cell);
    const bool quoted = NeedsQuotes(cell, formula);
    if (quoted)
        out += '"';
    if (formula)
        out += '\'';
    if (!quoted) {
        out.append(cell);
        return;
    }
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool WriteListCsv(const CListBase& list, const std::function<bool(std::string_view)>& write,
                  size_t chunkBytes) {
    std::string buffer;
    buffer.reserve(chunkBytes + 4096);
    const int columns = list.GetColumnCount();
    const auto flushIfFull = [&]() {
        if (buffer.size() < chunkBytes)
            return true;
        const bool ok = write(buffer);
        buffer.clear();
        return ok;
    };

    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            buffer += ',';
        AppendCsvField(list.Column(column).title, buffer);
    }
    AppendRecordEnd(buffer);

    const int rows = list.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        if (!flushIfFull())
            return false;
        const ListRowView cells = list.Row(row);
        if (!cells.empty() && IsPlainRow(cells)) {
            AppendPlainRecord(cells, buffer);
            continue;
        }
        for (size_t column = 0; column < cells.size(); ++column) {
            if (column > 0)
                buffer += ',';
            AppendCsvField(cells[column], buffer);
        }
        AppendRecordEnd(buffer);
    }
    return buffer.empty() || write(buffer);
}

std::string ListCsvText(const CListBase& list) {
    std::string text;
    WriteListCsv(list, [&text](std::string_view chunk) {
        text.append(chunk);
        return true;
    });
    return text;
}

// The CSV action of a list.

bool CListBase::ProcessContextMenu(int action) {
    m_exportError.clear();
    if (action != kListExportCsv) {
        m_exportError = "Unknown list action " + std::to_string(action);
        return false;
    }
    return WriteExportFile(m_exportError);
}

bool CListBase::WriteExportFile(std::string& error) {
    error = "Cannot write file [" + m_exportFileName + "]: this list has no file writer";
    return false;
}
