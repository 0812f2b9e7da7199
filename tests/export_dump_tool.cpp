// Loads a report into the real window, exports it into a folder, and writes the result table's cells
// beside the CSV as JSON (every cell as hex bytes), so a separate CSV reader can compare the two.
// Usage: export_dump_tool REPORT FOLDER
#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"

#include "tests/OffscreenApplication.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

std::string Hex(const std::string& bytes) {
    return QByteArray::fromStdString(bytes).toHex().toStdString();
}

std::string TableJson(const CListBase& table) {
    std::string json = "{\"titles\": [";
    for (int column = 0; column < table.GetColumnCount(); ++column)
        json += (column > 0 ? ", \"" : "\"") + Hex(table.Column(column).title) + "\"";
    json += "],\n \"rows\": [";
    for (int row = 0; row < table.GetItemCount(); ++row) {
        json += row > 0 ? ",\n  [" : "\n  [";
        for (int column = 0; column < table.GetColumnCount(); ++column)
            json += (column > 0 ? ", \"" : "\"") + Hex(std::string(table.CellRef(row, column))) + "\"";
        json += "]";
    }
    return json + "]}\n";
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("Usage: export_dump_tool REPORT FOLDER\n", stderr);
        return 2;
    }
    OffscreenApplication application(argc, argv);

    auto prompts = std::make_unique<TestPrompts>();
    TestPrompts& answers = *prompts;
    CTrelvaneDlg dialog(std::move(prompts));
    dialog.OnInitDialog();
    answers.openAnswers.push_back(QFile::decodeName(argv[1]));
    dialog.OnFileOpen();
    answers.folderAnswers.push_back(QFile::decodeName(argv[2]));
    dialog.OnExport();
    // An export that wrote both files says only where they went.
    const bool exported = answers.messages == QStringList{ExportDoneText(QFile::decodeName(argv[2]))};
    if (!exported)
        for (const QString& message : answers.messages)
            std::fprintf(stderr, "%s\n", qPrintable(message));

    QFile dump(QFile::decodeName(argv[2]) + QStringLiteral("/table.json"));
    if (!exported || !dump.open(QIODevice::WriteOnly))
        return 1;
    const std::string json = TableJson(*dialog.m_listData);
    dump.write(json.data(), static_cast<qint64>(json.size()));
    return dump.flush() ? 0 : 1;
}
