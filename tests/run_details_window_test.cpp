// The Run Details window as a user opens it (a double-click on a row or a bar, Ctrl+D, the context
// menu) and what it shows of real reports.
#include "app/RunDetailsDlg.h"
#include "tests/WindowFixture.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QXmlStreamReader>

namespace {

class RunDetailsWindowTest : public WindowFixture {
protected:
    CRunDetailsDlg* Details() const { return m_dialog->RunDetailsWindow(); }
    QString Parameter(const QString& name) const {
        const CListCtrlEx* list = Details()->ParameterList();
        for (int row = 0; row < list->GetItemCount(); ++row)
            if (list->CellRef(row, 0) == name.toStdString())
                return QString::fromStdString(std::string(list->CellRef(row, 1)));
        return QString();
    }
    QStringList Column(int column) const {
        QStringList cells;
        const CListCtrlEx* list = Details()->PointTable();
        for (int row = 0; row < list->GetItemCount(); ++row)
            cells << QString::fromStdString(std::string(list->CellRef(row, column)));
        return cells;
    }
    // The row of "Data" whose "#" is number, wherever the sorts put it.
    int RowOf(const char* number) const {
        for (int row = 0; row < m_dialog->m_listData->GetItemCount(); ++row)
            if (m_dialog->m_listData->CellRef(row, 0) == number)
                return row;
        return -1;
    }
};

TEST_F(RunDetailsWindowTest, EveryWayInOpensTheRunAndEnterStillClosesTheDialog) {
    Open(ExamplePath("diskspd_sweep_crlf.txt"));
    m_dialog->resize(1100, 700);
    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));

    // A double-click on a row of "Data", sorted so that the row and the run differ: run 2 is -o32.
    m_dialog->m_tabCtrl->SetCurSel(6);
    m_dialog->OnSortIOs();
    const int row = RowOf("2");
    ASSERT_NE(row, 2);
    CListCtrlEx* list = m_dialog->m_listData;
    list->scrollTo(list->model()->index(row, 1));
    // A double-click as the system delivers it: a click, then the second press as a double-click.
    const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_NE(Details(), nullptr);
    EXPECT_TRUE(Details()->isVisible());
    EXPECT_TRUE(Details()->Heading()->text().startsWith(QStringLiteral("Run 2: ")));
    EXPECT_TRUE(Parameter(QStringLiteral("Command line")).contains(QStringLiteral(" -o32 ")));

    // Ctrl+D and the context menu's entry on the selected row.
    list->selectRow(RowOf("8"));
    QTest::keyClick(list, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(Details()->Heading()->text().startsWith(QStringLiteral("Run 8: ")));
    EXPECT_TRUE(list->actions().contains(m_dialog->RunDetailsAction()));
    EXPECT_EQ(m_dialog->RunDetailsAction()->text(), QStringLiteral("Run &Details..."));
    list->selectRow(RowOf("5"));
    m_dialog->RunDetailsAction()->trigger();
    EXPECT_TRUE(Details()->Heading()->text().startsWith(QStringLiteral("Run 5: ")));

    // A double-click on a run's bar of the MB/sec tab: whichever run the sort put first, the window
    // shows the run the bar's label names.
    m_dialog->m_tabCtrl->SetCurSel(0);
    CChartWnd* chart = m_dialog->m_chart;
    const int firstBar = 7; // "Averages", its five bars, "Details"
    const std::string label(chart->Model().Line(firstBar).text);
    const ChartGeometry geometry = chart->Geometry();
    QTest::mouseDClick(
        chart->viewport(), Qt::LeftButton, {},
        QPoint(geometry.labelWidth / 2,
               (firstBar - chart->FirstVisibleLine()) * geometry.lineHeight + geometry.lineHeight / 2));
    EXPECT_TRUE(Details()->Heading()->text().startsWith(
        QStringLiteral("Run ") + QString::fromStdString(label.substr(0, label.find('.'))) +
        QStringLiteral(":")))
        << label;
    // A header line names no run: the window stays on the run it showed.
    const QString shown = Details()->Heading()->text();
    QTest::mouseDClick(chart->viewport(), Qt::LeftButton, {}, QPoint(10, geometry.lineHeight / 2));
    EXPECT_EQ(Details()->Heading()->text(), shown);

    // Enter on the table is the dialog's Close, as ever, not a way into Run Details.
    Details()->hide();
    m_dialog->m_tabCtrl->SetCurSel(6);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(Details()->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
}

TEST_F(RunDetailsWindowTest, ShowsThePercentilesTheStabilityAndWhatTheReportLacks) {
    Open(TestDataPath("diskspd/vc-writeonly-2.2.0.txt"));
    m_dialog->ShowRunDetailsOfRow(0);
    ASSERT_NE(Details(), nullptr);
    EXPECT_EQ(Column(0), (QStringList{"50", "90", "95", "99", "99.9", "99.99", "max"}));
    EXPECT_EQ(Column(1), QStringList(7, QString())) << "N/A reads are empty, never 0";
    EXPECT_TRUE(Details()->PointTable()->isColumnHidden(1)) << "and take no column";
    EXPECT_FALSE(Details()->PointTable()->isColumnHidden(3));
    EXPECT_EQ(Column(3).at(4), QStringLiteral("37.418"));
    Details()->ShowAll()->setChecked(true);
    EXPECT_EQ(Details()->PointTable()->GetItemCount(), 15);
    EXPECT_EQ(Column(0).first(), QStringLiteral("min"));
    EXPECT_TRUE(Details()->StabilityNote()->isVisibleTo(Details()));
    EXPECT_FALSE(Details()->StabilityNote()->property("unsteady").toBool()) << "6.1 % is steady";
    EXPECT_EQ(Parameter(QStringLiteral("Machine")), QStringLiteral("SCHIELC41ABD017"));
    EXPECT_EQ(Details()->Chart()->Chart().lines.size(), 2u);
    EXPECT_FALSE(Details()->CutNote()->isVisibleTo(Details()));

    Open(TestDataPath("diskspd/vc-readwrite-mix-70-30.txt"));
    EXPECT_FALSE(Details()->isVisible()) << "a new report closes the run of the old one";
    m_dialog->ShowRunDetailsOfRow(0);
    EXPECT_TRUE(Details()->StabilityNote()->property("unsteady").toBool());
    EXPECT_TRUE(
        Details()->StabilityNote()->text().startsWith(QStringLiteral("Unsteady: IOPS varied by 10.9 %")));

    // A run without -L: one line instead of a chart.
    Open(TestDataPath("diskspd/hand-2.0-console-mb-crlf.txt"));
    m_dialog->ShowRunDetailsOfRow(1);
    EXPECT_TRUE(Details()->NoLatencyNote()->isVisibleTo(Details()));
    EXPECT_FALSE(Details()->Chart()->isVisibleTo(Details()));

    // A percentile table cut off: the points before the cut and a note saying so.
    QFile whole(TestDataPath("diskspd/vc-readwrite-mix-70-30.txt"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray text = whole.readAll();
    const QString cutPath = m_folder.filePath(QStringLiteral("cut.txt"));
    QFile cut(cutPath);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(text.left(text.indexOf("5-nines")));
    cut.close();
    Open(cutPath);
    m_dialog->ShowRunDetailsOfRow(0);
    EXPECT_TRUE(Details()->CutNote()->isVisibleTo(Details()));
    EXPECT_EQ(Column(0).last(), QStringLiteral("99.99"));
}

TEST_F(RunDetailsWindowTest, TheChartIsCopiedAndSavedAsPngAndSvg) {
    Open(TestDataPath("sqlio/es-random-read-8KB-q8.txt"));
    m_dialog->ShowRunDetailsOfRow(0);
    ASSERT_NE(Details(), nullptr);
    EXPECT_EQ(Details()->Chart()->Chart().kind, LatencyChart::Kind::Histogram);
    EXPECT_EQ(Details()->ChartCaption(), (QStringList{"Run Details", "Report: es-random-read-8KB-q8.txt",
                                                      "Run 0: Read random 8KB, 8 outstanding"}));

    const QString png = m_folder.filePath(QStringLiteral("run.png"));
    const QString svg = m_folder.filePath(QStringLiteral("run.svg"));
    m_prompts->saveAnswers = {png, svg};
    Details()->Chart()->SaveChartAction()->trigger();
    Details()->Chart()->SaveChartAction()->trigger();
    EXPECT_TRUE(
        m_prompts->saveSuggestions.first().endsWith(QStringLiteral("es-random-read-8KB-q8 - run 0.png")));
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    // The "24+" bar, half the I/Os, is drawn in the Read colour.
    int readPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            readPixels +=
                image.pixel(x, y) == (0xFF000000 | LatencyChartWnd::DirectionColour(LatencyDirection::Read));
    EXPECT_GT(readPixels, 1000);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("text"))
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("24+")));
    EXPECT_TRUE(texts.contains(QStringLiteral("I/Os (%)")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Run Details")));
}

} // namespace
