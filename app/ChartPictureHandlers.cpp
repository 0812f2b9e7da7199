// The charts' context menu: "Copy Chart" puts a picture of the whole chart on the clipboard, "Save Chart
// As..." writes it as PNG or SVG. The picture says what it shows: the tab, the report and the filter.
#include "app/TrelvaneDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>

void CTrelvaneDlg::ConnectChartPictures() {
    for (CChartWnd* chart : {m_chart, m_chartAverages}) {
        connect(chart->CopyChartAction(), &QAction::triggered, this, [this, chart] { OnCopyChart(*chart); });
        connect(chart->SaveChartAction(), &QAction::triggered, this,
                [this, chart] { OnSaveChartAs(*chart); });
    }
}

QStringList CTrelvaneDlg::ChartCaption(const CChartWnd& chart) const {
    const QString report = m_comboReports->GetCurText();
    const QString reportLine = QStringLiteral("Report: ") +
                               (report.isEmpty() ? QStringLiteral("none") : QFileInfo(report).fileName());
    // The averages chart is the same whatever the filters say.
    if (&chart == m_chartAverages)
        return {QStringLiteral("Overall Averages"), reportLine};
    const auto value = [](const MComboBox* list) {
        return list->GetCurSel() >= 0 ? list->GetLBText(list->GetCurSel()) : QStringLiteral("<All>");
    };
    return {m_tabCtrl->tabText(m_tabCtrl->GetCurSel()), reportLine,
            QStringLiteral("Filter: Direction %1, Type %2, Outstanding %3")
                .arg(value(m_comboDirection), value(m_comboType), value(m_comboOutstanding))};
}

void CTrelvaneDlg::OnCopyChart(const CChartWnd& chart) {
    QApplication::clipboard()->setImage(chart.PictureImage(ChartCaption(chart)));
}

void CTrelvaneDlg::OnSaveChartAs(const CChartWnd& chart) {
    const QStringList caption = ChartCaption(chart);
    const QString report = m_comboReports->GetCurText();
    // Proposed: where the last picture was saved, else beside the report, named after the report and
    // the chart ("runs - MB-sec.png").
    QString folder = StartFolder(m_folders.picture);
    if (folder.isEmpty())
        folder = report.isEmpty() ? QDir::currentPath() : QFileInfo(report).absolutePath();
    QString name = caption.first();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (!report.isEmpty())
        name = QFileInfo(report).completeBaseName() + QStringLiteral(" - ") + name;
    const QString path = m_prompts->SaveFile(this, QStringLiteral("Save Chart As"),
                                             QStringLiteral("PNG image (*.png);;SVG image (*.svg)"),
                                             QDir(folder).filePath(name + QStringLiteral(".png")));
    if (path.isEmpty())
        return;
    QString error;
    if (!chart.SavePicture(path, caption, error)) {
        m_prompts->Message(this, error, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    RememberFolder(&RememberedFolders::picture, QFileInfo(path).absolutePath());
}
