// CControls, CMenu and CFont on real widgets: combo-box drop-down, edit box,
// limits and list width; lower-, upper-case and digits-only typing; menu
// handles by position and radio-check items; fonts to and from QFont.
#include "classlib/misc/CControls.h"
#include "classlib/misc/CFont.h"
#include "classlib/misc/CMenu.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QComboBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

using quorvantell::CControls;
using quorvantell::CFont;
using quorvantell::CMenu;

namespace {

// A key press carrying text that has no key of its own on the test keyboard.
void TypeText(QWidget* widget, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private:
    CControls m_controls;

private slots:
    void comboDropsDownOnce()
    {
        QComboBox combo;
        combo.addItems({"one", "two"});
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        m_controls.ComboDropDown(&combo);
        QTRY_VERIFY(combo.view()->isVisible());
        m_controls.ComboDropDown(&combo);  // already open: stays open
        QVERIFY(combo.view()->isVisible());
        combo.hidePopup();
        m_controls.ComboDropDown(nullptr);
    }

    void comboEditBoxAndItsLimit()
    {
        QComboBox fixed;
        QCOMPARE(m_controls.ComboGetEditHWnd(&fixed), nullptr);
        QComboBox combo;
        combo.setEditable(true);
        QCOMPARE(m_controls.ComboGetEditHWnd(&combo), combo.lineEdit());
        m_controls.ComboSetMaxLength(&combo, 5);
        QTest::keyClicks(combo.lineEdit(), "abcdefgh");
        QCOMPARE(combo.lineEdit()->text(), QStringLiteral("abcde"));
        m_controls.ComboSetMaxLength(&combo, 0);  // no limit of its own
        QCOMPARE(combo.lineEdit()->maxLength(), 32767);
    }

    void comboListWidthInTwips()
    {
        QComboBox combo;
        m_controls.ComboSetWidth(&combo, 4500);
        QCOMPARE(combo.view()->minimumWidth(), 300);
        m_controls.ComboSetWidth(&combo, 4510);  // whole pixels
        QCOMPARE(combo.view()->minimumWidth(), 300);
    }

    void editStylesConvertAndFilterTyping()
    {
        QLineEdit lower, upper, digits;
        m_controls.TextSetLowerOnly(&lower);
        m_controls.TextSetUpperOnly(&upper);
        m_controls.TextSetNumberOnly(&digits);
        QTest::keyClicks(&lower, "MiXeD 1");
        QTest::keyClicks(&upper, "MiXeD 1");
        TypeText(&lower, QStringLiteral("Ä"));
        TypeText(&upper, QStringLiteral("ä"));
        QTest::keyClicks(&digits, "a1b2-3");
        QCOMPARE(lower.text(), QStringLiteral("mixed 1ä"));
        QCOMPARE(upper.text(), QStringLiteral("MIXED 1Ä"));
        QCOMPARE(digits.text(), QStringLiteral("123"));
    }

    void editStylesAddUpAndKeepAValidatorAlreadyThere()
    {
        QLineEdit edit;
        edit.setValidator(new QIntValidator(0, 500, &edit));
        m_controls.TextSetNumberOnly(&edit);
        m_controls.TextSetUpperOnly(&edit);
        QTest::keyClicks(&edit, "1x2345");
        QCOMPARE(edit.text(), QStringLiteral("123"));  // "1234" is over 500
        QComboBox combo;
        combo.setEditable(true);
        m_controls.TextSetUpperOnly(&combo);
        QTest::keyClicks(combo.lineEdit(), "ftp");
        QCOMPARE(combo.lineEdit()->text(), QStringLiteral("FTP"));
    }

    void menuHandlesByPosition()
    {
        QMainWindow window;
        QMenu* file = window.menuBar()->addMenu("&File");
        QMenu* tools = window.menuBar()->addMenu("&Tools");
        file->addAction("&Open");
        file->addSeparator();
        QMenu* recent = file->addMenu("&Recent folders");
        CMenu menu;
        QCOMPARE(menu.GetMenuHWnd(&window, 0), file);
        QCOMPARE(menu.GetMenuHWnd(&window, 1), tools);
        QCOMPARE(menu.GetMenuHWnd(&window, 2), nullptr);
        QCOMPARE(menu.GetSubMenuHWnd(file, 2), recent);  // the separator counts
        QCOMPARE(menu.GetSubMenuHWnd(file, 0), nullptr);  // an item without a sub-menu
        QCOMPARE(menu.GetSubMenuHWnd(file, -1), nullptr);
        QWidget plain;
        QCOMPARE(menu.GetMenuHWnd(&plain, 0), nullptr);
    }

    void radioCheckItemsGetTheirCaptionAndABullet()
    {
        QMenu view;
        view.addAction("a");
        view.addAction("b");
        CMenu menu;
        menu.SetRadioMenuChecks(&view, "&Large icons", 0);
        menu.SetRadioMenuChecks(&view, "&Small icons", 1);
        menu.SetRadioMenuChecks(&view, "nothing", 7);
        QAction* large = view.actions().at(0);
        QAction* small = view.actions().at(1);
        QCOMPARE(large->text(), QStringLiteral("&Large icons"));
        QVERIFY(large->isCheckable());
        QVERIFY(large->actionGroup() != nullptr && large->actionGroup()->isExclusive());
        QCOMPARE(small->actionGroup(), large->actionGroup());
        small->setChecked(true);
        large->setChecked(true);
        QVERIFY(!small->isChecked());
        large->setChecked(false);  // all may be off
        QVERIFY(!large->isChecked());
    }

    void fontFromQt()
    {
        QFont qt("DejaVu Sans");
        qt.setPointSizeF(10.5);  // halves round to even
        qt.setWeight(QFont::Bold);
        qt.setItalic(true);
        qt.setUnderline(true);
        CFont font;
        font.Color = 0x123456;
        font.FromStdFont(qt);
        QCOMPARE(font.Name, std::string("DejaVu Sans"));
        QCOMPARE(font.Size, 10);
        QCOMPARE(font.Weight, 700);
        QCOMPARE(font.Italic, uint8_t(1));
        QCOMPARE(font.Underline, uint8_t(1));
        QCOMPARE(font.Strikethrough, uint8_t(0));
        QCOMPARE(font.Charset, uint8_t(1));
        QCOMPARE(font.Color, 0x123456u);
        qt.setPointSizeF(11.5);
        font.FromStdFont(qt);
        QCOMPARE(font.Size, 12);
    }

    void fontToQt()
    {
        CFont font;
        font.Name = "Liberation Mono";
        font.Size = 13;
        font.Weight = 600;
        font.Strikethrough = 1;
        const QFont qt = font.ToStdFont();
        QCOMPARE(qt.family(), QStringLiteral("Liberation Mono"));
        QCOMPARE(qt.pointSize(), 13);
        QCOMPARE(qt.weight(), QFont::DemiBold);
        QVERIFY(qt.strikeOut());
        QVERIFY(!qt.italic());
        QVERIFY(!qt.underline());
        CFont back;
        back.FromStdFont(qt);
        QCOMPARE(back.Weight, 600);
        QCOMPARE(back.Size, 13);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
