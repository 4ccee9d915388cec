#pragma once

#include "UiEnvironment.h"
#include "ui/Frm_Main.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace leafmill::test {

// The main window shown on a program folder of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.load();
        window = std::make_unique<Frm_Main>(env.context());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T = QWidget> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(child(name), button, {}, QPoint(5, 5));
    }

    UiEnvironment env;
    std::unique_ptr<Frm_Main> window;
};

}  // namespace leafmill::test
