// The window under each style a user may run it with (Qt's Fusion and Windows, GNOME's Adwaita light and
// dark where it is installed): every control at its template's rectangle, none on top of another, every
// text inside its control.
#include "app/DialogTemplate.h"
#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"
#include "widgets/MGroupBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <gtest/gtest.h>

namespace {

// What the test knows of a control: its widget and what it should show.
struct Placed {
    QWidget* widget;
    const ControlSpec* spec;
};

std::string Name(const Placed& control) {
    return std::to_string(control.spec->id) + " \"" + control.spec->text + "\"";
}

class WindowStylesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const QString name = QString::fromLatin1(GetParam());
        if (!QStyleFactory::keys().contains(name, Qt::CaseInsensitive))
            GTEST_SKIP() << GetParam() << " is not installed here (Debian's adwaita-qt6 brings Adwaita)";
        m_previous = QApplication::style()->name();
        QApplication::setStyle(name);
        ClearReportList();
        m_dialog = std::make_unique<CTrelvaneDlg>(std::make_unique<TestPrompts>());
        m_dialog->OnInitDialog();
        m_dialog->show();
        QApplication::processEvents();
        // The longest status the line ever shows.
        m_dialog->m_status->SetText(
            QStringLiteral("Error while loading report.  For details please see Raw Data list."));
    }
    void TearDown() override {
        m_dialog.reset();
        if (!m_previous.isEmpty())
            QApplication::setStyle(m_previous);
        ClearReportList();
    }

    // Every control of the template with its widget: by id, or for the labels and frames by their text.
    std::vector<Placed> Controls() const {
        std::vector<Placed> controls;
        for (const ControlSpec& spec : MainWindowTemplate()) {
            QWidget* widget = spec.id > 0 ? m_dialog->Control(spec.id) : nullptr;
            const QString text = QString::fromLatin1(spec.text);
            if (spec.kind == ControlKind::GroupBox) {
                for (MGroupBox* box : m_dialog->findChildren<MGroupBox*>())
                    if (box->Title() == text)
                        widget = box;
            } else if (widget == nullptr) {
                for (QLabel* label : m_dialog->findChildren<QLabel*>())
                    if (label->text() == text)
                        widget = label;
            }
            controls.push_back(Placed{widget, &spec});
        }
        return controls;
    }

    QString m_previous;
    std::unique_ptr<CTrelvaneDlg> m_dialog;
};

TEST_P(WindowStylesTest, EveryControlTakesItsTemplateRectangle) {
    const DialogUnits units(m_dialog->font());
    for (const Placed& control : Controls()) {
        SCOPED_TRACE(Name(control));
        ASSERT_NE(control.widget, nullptr);
        EXPECT_EQ(control.widget->geometry(), TemplateRect(*control.spec, units));
    }
    // The tabs are as high as the strip, so none is cut.
    for (int i = 0; i < m_dialog->m_tabCtrl->count(); ++i)
        EXPECT_EQ(m_dialog->m_tabCtrl->tabRect(i).height(), m_dialog->m_tabCtrl->height()) << i;
}

TEST_P(WindowStylesTest, NoControlLiesOnAnother) {
    const std::vector<Placed> controls = Controls();
    const int join = DialogUnits(m_dialog->font()).ToPixels(0, 0, 0, 1).height();
    // The template stacks the chart and the two lists in one content area and shows one set at a time:
    // each tab is checked with what it shows.
    for (int tab : {0, 6, 7}) {
        m_dialog->m_tabCtrl->SetCurSel(tab);
        QApplication::processEvents();
        SCOPED_TRACE("tab " + std::to_string(tab));
        for (size_t a = 0; a < controls.size(); ++a) {
            for (size_t b = a + 1; b < controls.size(); ++b) {
                const Placed& one = controls[a];
                const Placed& other = controls[b];
                if (!one.widget->isVisible() || !other.widget->isVisible())
                    continue;
                const QRect first = one.widget->geometry();
                const QRect second = other.widget->geometry();
                // A frame holds the controls inside it; its own lines are checked by GroupFrameTest.
                const bool framed = (one.spec->kind == ControlKind::GroupBox && first.contains(second)) ||
                                    (other.spec->kind == ControlKind::GroupBox && second.contains(first));
                // The strip's bottom edge is the content area's top edge: the template overlaps them by
                // one unit, as the tab control of a dialog joins its page. Each edge is rounded to whole
                // pixels on its own, which can add one.
                const bool tabJoin =
                    (one.spec->kind == ControlKind::Tabs || other.spec->kind == ControlKind::Tabs) &&
                    first.intersected(second).height() <= join + 1;
                if (framed || tabJoin)
                    continue;
                EXPECT_FALSE(first.intersects(second)) << Name(one) << " and " << Name(other);
            }
        }
    }
}

TEST_P(WindowStylesTest, EveryTextFitsItsControl) {
    QStyle* style = m_dialog->style();
    for (const Placed& control : Controls()) {
        SCOPED_TRACE(Name(control));
        QWidget* widget = control.widget;
        const QFontMetrics metrics = widget->fontMetrics();
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_GE(contents.width(), metrics.horizontalAdvance(button->text()));
            EXPECT_GE(contents.height(), metrics.height());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field =
                style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            EXPECT_GE(field.height(), metrics.height());
            // An entry longer than its box reads whole in the open list; "<All>" always fits.
            EXPECT_GE(field.width(), metrics.horizontalAdvance(QStringLiteral("<All>")));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()));
            EXPECT_GE(label->height(), metrics.height());
        } else if (auto* box = qobject_cast<MGroupBox*>(widget)) {
            EXPECT_GT(box->Layout().title.width(), metrics.horizontalAdvance(box->Title()));
        }
    }
    MTabCtrl* tabs = m_dialog->m_tabCtrl;
    for (int i = 0; i < tabs->count(); ++i) {
        SCOPED_TRACE(tabs->tabText(i).toStdString());
        const QRect tab = tabs->tabRect(i);
        EXPECT_TRUE(tabs->rect().contains(tab));
        EXPECT_GE(tab.width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)));
        EXPECT_GE(tab.height(), tabs->fontMetrics().height());
    }
    // The column titles of both lists, "Filesystem (Allocation Size)" among them.
    for (CListCtrlEx* list : {m_dialog->m_listData, m_dialog->m_listPartitions}) {
        const QHeaderView* header = list->horizontalHeader();
        for (int column = 0; column < header->count(); ++column)
            EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column))
                << list->Column(column).title;
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, WindowStylesTest,
                         ::testing::Values("Fusion", "Windows", "Adwaita", "Adwaita-Dark"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
