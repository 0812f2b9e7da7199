// What the Windows build has that Linux stands in for: the About entry in the real system menu, and
// the icon and version resource of trelvane.exe. Built for Windows only.
#include "app/TrelvaneDlg.h"
#include "tests/ModalWatch.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class SystemMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearReportList();
        dialog = std::make_unique<CTrelvaneDlg>(std::make_unique<TestPrompts>());
        dialog->OnInitDialog();
        dialog->show();
        window = reinterpret_cast<HWND>(dialog->winId());
    }
    void TearDown() override { ClearReportList(); }

    // Sends a system command as the menu does, and returns the title of the modal window it opened
    // (closed at once), or nothing.
    QString SendSystemCommand(WPARAM command) {
        QString shown;
        const ModalWatch watch([&](QWidget* modal) { shown = modal->windowTitle(); });
        SendMessageW(window, WM_SYSCOMMAND, command, 0);
        QApplication::processEvents();
        return shown;
    }

    std::unique_ptr<CTrelvaneDlg> dialog;
    HWND window = nullptr;
};

TEST_F(SystemMenuTest, AboutIsTheLastEntryAfterASeparatorWithItsCommandId) {
    const HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&About Trelvane...");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), 0x0010u);
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(count - 2), TRUE, &separator));
    EXPECT_NE(separator.fType & MFT_SEPARATOR, 0u);
}

TEST_F(SystemMenuTest, EveryCommandOfTheAboutFamilyOpensTheBoxAndOthersGoToTheSystem) {
    // The low four bits of a system command are the system's own: 0x0010 to 0x001F are all About.
    EXPECT_EQ(SendSystemCommand(0x0010), QStringLiteral("About Trelvane"));
    EXPECT_EQ(SendSystemCommand(0x001F), QStringLiteral("About Trelvane"));
    // A command of the system's own (restore) is not taken for About and leaves the window open.
    EXPECT_EQ(SendSystemCommand(SC_RESTORE), QString());
    EXPECT_TRUE(dialog->isVisible());
}

TEST(ExecutableResources, VersionIs1070AndTheIconIsResource134) {
    const std::wstring exe = QStringLiteral(TRELVANE_EXE).toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << TRELVANE_EXE;
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 0u);
    EXPECT_EQ(fixed->dwFileVersionLS, (7u << 16) | 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 0u);
    EXPECT_EQ(fixed->dwProductVersionLS, (7u << 16) | 0u);

    const HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(134), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */),
              nullptr);
    FreeLibrary(module);
}

} // namespace
