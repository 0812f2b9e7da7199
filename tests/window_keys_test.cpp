// The window's keyboard: the keys that switch tabs wherever the keyboard is, and the tab strip taking
// the keyboard when a tab is clicked.
#include "app/DialogTemplate.h"
#include "app/TrelvaneDlg.h"
#include "disks/MemoryWmiSource.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Ctrl+Tab and Ctrl+PgDn go to the next tab, Ctrl+Shift+Tab and Ctrl+PgUp to the one before, round
// from the last to the first, wherever the keyboard is in the window; a click on a tab gives the strip
// the keyboard, and its arrow keys go on from there.
TEST(TabKeys, SwitchTabsFromEveryControlAndAClickGivesTheStripTheKeyboard) {
    ClearReportList();
    CTrelvaneDlg dialog(std::make_unique<TestPrompts>(), std::make_unique<MemoryWmiSource>());
    dialog.OnInitDialog();
    dialog.show();
    MTabCtrl& tabs = *dialog.m_tabCtrl;
    // The first visit to "Disk Partitions" scans under a progress window, which the offscreen platform
    // activates: it is made here, before the keys are tried.
    tabs.SetCurSel(7);
    tabs.SetCurSel(0);
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(dialog.windowHandle(), key, modifiers);
        return tabs.GetCurSel();
    };
    struct Place {
        int tab; // a tab that shows the control
        QWidget* control;
    };
    const Place places[] = {
        {0, dialog.m_comboReports},     {0, dialog.m_comboDirection}, {1, dialog.Button(IDC_SORT_NUMBER)},
        {2, dialog.Button(IDC_EXPORT)}, {5, dialog.m_chart},          {6, dialog.m_listData},
        {7, dialog.m_listPartitions},   {7, dialog.m_editNotes},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.control->metaObject()->className());
        tabs.SetCurSel(place.tab);
        place.control->setFocus();
        ASSERT_TRUE(place.control->hasFocus());
        const int next = (place.tab + 1) % 8;
        EXPECT_EQ(press(Qt::Key_Tab, Qt::ControlModifier), next);
        tabs.SetCurSel(place.tab);
        place.control->setFocus();
        EXPECT_EQ(press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), (place.tab + 7) % 8);
        tabs.SetCurSel(place.tab);
        place.control->setFocus();
        EXPECT_EQ(press(Qt::Key_PageDown, Qt::ControlModifier), next);
        EXPECT_EQ(press(Qt::Key_PageUp, Qt::ControlModifier), place.tab);
    }
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(3).center());
    EXPECT_EQ(tabs.GetCurSel(), 3);
    EXPECT_TRUE(tabs.hasFocus());
    EXPECT_EQ(press(Qt::Key_Right, Qt::NoModifier), 4);
    ClearReportList();
}

} // namespace
