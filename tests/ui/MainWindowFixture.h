#pragma once
// A main window driven by scripted message boxes and file dialogs, with layout files to open.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

#include "LayoutBuilders.h"
#include "MainWindowParts.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "UiTestSupport.h"
#include "ui/mainwindow/KorvoScreenManager.h"

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        Window = std::make_unique<KorvoScreenManager>(Dialogs, Files);
        Window->show();
    }
    ~MainWindowTest() override {
        // Closing is asked about only when the Principal layout is dirty; the tests that leave it
        // dirty answer for themselves.
        Window->PrincipalLayout.SetIsDirty(false);
        Window.reset();
    }

    // The window's parts; tests written from now on reach them through here.
    MainWindowParts Parts() const { return MainWindowParts(*Window); }

    template <typename Control> Control* Get(const char* name) {
        return Find<Control>(*Window, name);
    }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
    QAction* Menu(const char* name) { return Get<QAction>(name); }
    QTreeWidget* List(const char* name) { return Get<QTreeWidget>(name); }
    QLineEdit* Text(const char* name) { return Get<QLineEdit>(name); }

    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
    void SelectRow(const char* list, int row) {
        QTreeWidget* tree = List(list);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(tree->topLevelItem(row)).center());
    }

    // A layout file of these records in the test's folder.
    std::string LayoutFile(const std::string& name, const std::vector<ControlRecord>& records) {
        return Dir.Write(name, LayoutFileBytes(records));
    }
    void OpenPrincipal(const std::string& path) {
        Files.Choose(path);
        QTest::mouseClick(Parts().Principal().Open, Qt::LeftButton);
    }
    void OpenAdditional(const std::string& path) {
        Files.Choose(path);
        QTest::mouseClick(Parts().Additional().Open, Qt::LeftButton);
    }

    TempDir Dir;
    ScriptedDialogs Dialogs;
    ScriptedFileDialogs Files;
    std::unique_ptr<KorvoScreenManager> Window;
};
