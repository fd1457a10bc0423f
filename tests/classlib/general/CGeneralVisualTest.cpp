// Tests of CGeneral's window members with a real (offscreen) application:
// palette colours, screen areas, message boxes and window-update locking.
#include "classlib/general/CGeneral.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <memory>

using namespace quorvantell;

namespace {

const CGeneral general;

class WithApplication : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "classlib_tests";
        static char* argv[] = {name, nullptr};
        s_app = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

    static inline std::unique_ptr<QApplication> s_app;
};

// Answers the next message box with the given button and records what it
// showed.
struct BoxAnswer {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;

    void Press(QMessageBox::StandardButton button)
    {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [this, timer, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            timer->stop();
            timer->deleteLater();
            box->button(button)->click();
        });
        timer->start(5);
    }
};

}  // namespace

TEST_F(WithApplication, SystemColoursComeFromThePalette)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(0x10, 0x20, 0x30));
    palette.setColor(QPalette::Dark, QColor(0x40, 0x50, 0x60));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x77, 0x88, 0x99));
    palette.setColor(QPalette::ToolTipBase, QColor(0xAA, 0xBB, 0xCC));
    QApplication::setPalette(palette);

    EXPECT_EQ(general.GetSysColor(15), 0x00302010u);
    EXPECT_EQ(general.GetSysColor(0x8000000F), 0x00302010u);
    EXPECT_EQ(general.GetSysColor(16), 0x00605040u);
    EXPECT_EQ(general.GetSysColor(17), 0x00998877u);
    EXPECT_EQ(general.GetSysColor(24), 0x00CCBBAAu);
    EXPECT_EQ(general.GetSysColor(1), 0x00808000u);  // no palette counterpart
    EXPECT_EQ(general.TranslateColor(0x80000010), 0x00605040);
    EXPECT_EQ(general.ShadeColor(0x00FFFFFF), 0x00302010u);
}

TEST_F(WithApplication, ScreenAreaOfAWindow)
{
    QWidget window;
    window.show();
    MONITORINFO info;
    general.GetScreenArea(&window, info);
    const QScreen* screen = window.screen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(info.cbSize, 40);
    EXPECT_EQ(info.rcMonitor.Left, screen->geometry().x());
    EXPECT_EQ(info.rcMonitor.Right, screen->geometry().x() + screen->geometry().width());
    EXPECT_EQ(info.rcWork.Bottom, screen->availableGeometry().y() + screen->availableGeometry().height());
    EXPECT_EQ(info.dwFlags, 1);
}

TEST_F(WithApplication, MessageBoxShowsTextCaptionIconAndButtons)
{
    BoxAnswer answer;
    answer.Press(QMessageBox::No);
    EXPECT_EQ(general.MessageBox(nullptr, "Are you sure?\r\nReally", "Velloran", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(answer.text, "Are you sure?\nReally");
    EXPECT_EQ(answer.title, "Velloran");
    EXPECT_EQ(answer.icon, QMessageBox::Question);
    EXPECT_EQ(answer.buttons, QMessageBox::Yes | QMessageBox::No);

    answer.Press(QMessageBox::Yes);
    EXPECT_EQ(general.MessageBox(nullptr, "Q", "Velloran", MB_YESNO | MB_ICONQUESTION), IDYES);

    answer.Press(QMessageBox::Ok);
    EXPECT_EQ(general.MessageBox(nullptr, "Fichier enregistré ✓", "Velloran", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(answer.text, QString::fromUtf8("Fichier enregistré ✓"));
    EXPECT_EQ(answer.icon, QMessageBox::Warning);
    EXPECT_EQ(answer.buttons, QMessageBox::Ok);
}

TEST_F(WithApplication, OneWindowAtATimeIsLocked)
{
    QWidget first, second;
    EXPECT_NE(general.LockWindowUpdate(&first), 0);
    EXPECT_FALSE(first.updatesEnabled());
    EXPECT_EQ(general.LockWindowUpdate(&second), 0);
    EXPECT_TRUE(second.updatesEnabled());
    EXPECT_NE(general.LockWindowUpdate(nullptr), 0);
    EXPECT_TRUE(first.updatesEnabled());
    EXPECT_NE(general.LockWindowUpdate(&second), 0);
    EXPECT_FALSE(second.updatesEnabled());
    general.LockWindowUpdate(nullptr);
    EXPECT_TRUE(second.updatesEnabled());
    {
        // A locked window that goes away does not block the next lock.
        QWidget gone;
        general.LockWindowUpdate(&gone);
    }
    EXPECT_NE(general.LockWindowUpdate(&first), 0);
    general.LockWindowUpdate(nullptr);
}
