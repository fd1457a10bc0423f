// The main window loaded and shown over two new empty folders named after
// the running test function, as the window tests start each test.
#pragma once

#include "app/shell/frmMain.h"

#include <QDir>
#include <QTest>

#include <memory>
#include <string>

namespace velloran::test {

inline void OpenMainWindow(const std::string& root, std::string& left, std::string& right,
                           std::unique_ptr<frmMain>& window)
{
    left = root + "/left-" + QTest::currentTestFunction();
    right = root + "/right-" + QTest::currentTestFunction();
    QDir().mkpath(QString::fromStdString(left));
    QDir().mkpath(QString::fromStdString(right));
    window = std::make_unique<frmMain>();
    window->Load();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->SetSelectedFolder(0, left);
    window->SetSelectedFolder(1, right);
}

}  // namespace velloran::test
