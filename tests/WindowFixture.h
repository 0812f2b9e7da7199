#pragma once

#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The real window, started as at program start, with its prompts answered by the test; a folder for
// the test's files; an empty report list before and after.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ClearReportList();
        ASSERT_TRUE(m_folder.isValid());
        OpenWindow();
    }
    void TearDown() override {
        m_dialog.reset();
        ClearReportList();
    }

    // Replaces the window with a new one, reading partitions from source when one is given.
    void OpenWindow(std::unique_ptr<WmiSource> source = nullptr) {
        auto prompts = std::make_unique<TestPrompts>();
        m_prompts = prompts.get();
        m_dialog = std::make_unique<CTrelvaneDlg>(std::move(prompts), std::move(source));
        m_dialog->OnInitDialog();
    }
    // Opens a file through File > Open.
    void Open(const QString& path) {
        m_prompts->openAnswers.push_back(path);
        m_dialog->OnFileOpen();
    }

    QTemporaryDir m_folder;
    TestPrompts* m_prompts = nullptr;
    std::unique_ptr<CTrelvaneDlg> m_dialog;
};
