#pragma once
// Showing a main window in a window test as the user meets it at start-up.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace postavo::testing {

// Shows the window, makes it the active one and waits (up to `timeoutMs`) until its first
// activation has run.
template <class MainWindow>
void activate(MainWindow& w, int timeoutMs = 5000)
{
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.firstActivationDone(); }, timeoutMs));
}

} // namespace postavo::testing
