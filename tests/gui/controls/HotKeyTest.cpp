// HotKey: the Allow... mask, the rules applied while typing, the packed key
// and modifiers, the stored properties, and the window hot key with its four
// results. The global key grab runs on a real X server: the test starts Xvfb
// and runs its X11 part again in a child process on it, pressing the key
// with xdotool; it is skipped with a message where neither can run.
#include "controls/ApplicationHotKeys.h"
#include "controls/ControlLibrary.h"
#include "controls/HotKey.h"
#include "controls/HotKeyError.h"
#include "controls/PropertyBag.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <memory>

using quorvantell::ApplicationHotKeys;
using quorvantell::HotKey;
using quorvantell::HotKeyError;
using quorvantell::PropertyBag;

namespace {

constexpr char kX11Part[] = "globalHotKeyOnX11";

// The number and text the call raised; 0 when it raised nothing.
std::pair<int32_t, QString> Raised(const std::function<void()>& call)
{
    try {
        call();
    } catch (const HotKeyError& error) {
        return {error.Number, error.Description};
    }
    return {0, QString()};
}

QString Native(const char* portable)
{
    return QKeySequence(QString::fromLatin1(portable)).toString(QKeySequence::NativeText);
}

}  // namespace

class HotKeyTest : public QObject {
    Q_OBJECT

private slots:
    void allowPropertiesAreTheClearBitsOfTheStoredMask()
    {
        const std::pair<const char*, uint32_t> allows[] = {
            {"AllowUnmodified", 1}, {"AllowShift", 2},      {"AllowCtrl", 4},     {"AllowAlt", 8},
            {"AllowShiftCtrl", 16}, {"AllowShiftAlt", 32}, {"AllowCtrlAlt", 64}, {"AllowShiftCtrlAlt", 128},
        };
        for (const auto& [name, bit] : allows) {
            HotKey field;
            QVERIFY(field.property(name).toBool());
            field.setProperty(name, false);
            PropertyBag bag;
            field.WriteProperties(bag);
            QCOMPARE(bag.ReadProperty("ModInvalid").toUInt(), bit);

            HotKey loaded;
            loaded.ReadProperties(bag);
            for (const auto& [other, otherBit] : allows)
                QCOMPARE(loaded.property(other).toBool(), otherBit != bit);
            loaded.setProperty(name, true);
            PropertyBag cleared;
            loaded.WriteProperties(cleared);
            QVERIFY(!cleared.Contains("ModInvalid"));
        }
    }

    void storedPropertiesAndDefaultFont()
    {
        HotKey field;
        QCOMPARE(field.Font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(field.Font().pointSizeF(), 8.25);
        PropertyBag empty;
        field.WriteProperties(empty);
        QVERIFY(empty.Names().isEmpty());

        field.SetHotKey('K');
        field.SetHotKeyModifier(HotKey::HOTKEYF_SHIFTALT);
        field.SetAlternateModifier(HotKey::HOTKEYF_CONTROL);
        field.SetEnabled(false);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(11);
        field.SetFont(font);
        PropertyBag bag;
        field.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({"HotKey", "HotKeyModifier", "ModAlternate", "Enabled", "Font"}));

        HotKey loaded;
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.HotKeyAndModifier(), 0x054B);
        QCOMPARE(loaded.AlternateModifier(), HotKey::HOTKEYF_CONTROL);
        QVERIFY(!loaded.Enabled());
        QCOMPARE(loaded.Font(), font);
        QCOMPARE(loaded.Text(), Native("Shift+Alt+K"));
    }

    void typingChoosesAndPacksTheCombination_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("packed");
        QTest::addColumn<QString>("text");
        QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << 0x0041 << Native("A");
        QTest::newRow("ctrl+shift") << int(Qt::Key_B) << int(Qt::ControlModifier | Qt::ShiftModifier) << 0x0342
                                    << Native("Ctrl+Shift+B");
        QTest::newRow("alt+F5") << int(Qt::Key_F5) << int(Qt::AltModifier) << 0x0474 << Native("Alt+F5");
        QTest::newRow("extended") << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0x0A24 << Native("Ctrl+Home");
        QTest::newRow("keypad") << int(Qt::Key_7) << int(Qt::KeypadModifier) << 0x0067
                                << QKeySequence(Qt::KeypadModifier | Qt::Key_7).toString(QKeySequence::NativeText);
        QTest::newRow("shifted digit") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 0x0131
                                       << Native("Shift+1");
    }

    void typingChoosesAndPacksTheCombination()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        HotKey field;
        QSignalSpy changes(&field, &HotKey::Change);
        QTest::keyClick(field.findChild<QLineEdit*>(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(field.HotKeyAndModifier(), "packed");
        QTEST(field.Text(), "text");
        QCOMPARE(field.findChild<QLineEdit*>()->text(), field.Text());
        QCOMPARE(changes.count(), 1);
    }

    void heldModifiersShowAndBackspaceClears()
    {
        HotKey field;
        auto* edit = field.findChild<QLineEdit*>();
        QCOMPARE(field.Text(), QStringLiteral("None"));
        QTest::keyPress(edit, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(field.Text(), QKeySequence(Qt::ControlModifier).toString(QKeySequence::NativeText));
        QTest::keyRelease(edit, Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(field.Text(), QStringLiteral("None"));
        QCOMPARE(field.HotKeyAndModifier(), 0);

        QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(field.HotKeyAndModifier(), 0x0251);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(field.HotKeyAndModifier(), 0);
        QCOMPARE(field.Text(), QStringLiteral("None"));
    }

    void invalidCombinationsBecomeTheAlternateAfterSetRules()
    {
        HotKey field;
        auto* edit = field.findChild<QLineEdit*>();
        field.SetAllowUnmodified(false);
        field.SetAllowShift(false);
        field.SetAlternateModifier(HotKey::HOTKEYF_CONTROLALT);
        QTest::keyClick(edit, Qt::Key_A);
        QCOMPARE(field.HotKeyAndModifier(), 0x0041);  // the rules are not in force yet

        field.SetRules();
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> presses[] = {
            {Qt::Key_A, Qt::NoModifier, 0x0641},
            {Qt::Key_S, Qt::ShiftModifier, 0x0653},
            {Qt::Key_D, Qt::ControlModifier, 0x0244},                     // allowed
            {Qt::Key_Delete, Qt::ShiftModifier, 0x0E2E},                  // extended flag kept
        };
        for (const auto& [key, modifiers, packed] : presses) {
            QTest::keyClick(edit, key, modifiers);
            QCOMPARE(field.HotKeyAndModifier(), packed);
        }
        QCOMPARE(field.Text(), Native("Ctrl+Alt+Del"));
    }

    void factoryCreatesBothControls()
    {
        QWidget host;
        std::unique_ptr<QWidget> field(quorvantell::ControlLibrary::CreateControl("QuorvantellUsrCtrls.HotKey", &host));
        QVERIFY(qobject_cast<HotKey*>(field.get()));
        std::unique_ptr<QWidget> list(quorvantell::ControlLibrary::CreateControl("qvImageList"));
        QCOMPARE(list->metaObject()->className(), "quorvantell::qvImageList");
        QVERIFY(!quorvantell::ControlLibrary::CreateControl("QuorvantellUsrCtrls.NoSuchControl"));
    }

    void windowHotKeyResultsWithoutAnXServer()
    {
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QSKIP("the offscreen results; this run is on X");
        QCoreApplication::setApplicationName(QStringLiteral("HostProgram"));
        QWidget window;
        QWidget child(&window);
        HotKey field;
        field.SetHotKey('H');
        field.SetHotKeyModifier(HotKey::HOTKEYF_CONTROLALT);
        try {
            field.SetApplicationHotKey(nullptr);
            QFAIL("no error raised");
        } catch (const HotKeyError& error) {
            QCOMPARE(error.Number, HotKeyError::eHotKeyInvalidWindow);
            QCOMPARE(error.Source, QStringLiteral("HostProgram.cHotKey"));
            QCOMPARE(error.Description, QStringLiteral("Invalid window for Hot key"));
        }
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&child); }).first, HotKeyError::eHotKeyInvalidWindow);
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&window); }),
                 std::make_pair(HotKeyError::eHotKeyUnknownError, QStringLiteral("Failed to set Hot key")));
        field.SetHotKey(0x20);  // Space is never a hot key
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&window); }),
                 std::make_pair(HotKeyError::eHotKeyInvalidHotKey, QStringLiteral("Invalid Hot key")));
        field.SetHotKey(0);  // removing needs no key grab
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&window); }).first, 0);
    }

    // Starts Xvfb and runs globalHotKeyOnX11 on it in a child process.
    void windowHotKeyOnARealXServer()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xvfb.isEmpty() || xdotool.isEmpty())
            QSKIP("needs Xvfb and xdotool (Debian packages xvfb, xdotool) for the global key grab");
        int display = 90;
        while (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)) && display < 190)
            ++display;
        QProcess server;
        server.start(xvfb, {QStringLiteral(":%1").arg(display), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                            QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("800x600x24")});
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(display);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket) || server.state() == QProcess::NotRunning, 10000);
        if (server.state() == QProcess::NotRunning)
            QSKIP(qPrintable(QStringLiteral("Xvfb could not start: ") + QString::fromLocal8Bit(server.readAll())));

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
        // The X platform's session-bus client keeps a buffer to the end;
        // a sanitized child would report it as ours.
        QTemporaryDir scratch;
        QFile suppressions(scratch.filePath(QStringLiteral("lsan.supp")));
        QVERIFY(suppressions.open(QIODevice::WriteOnly) && suppressions.write("leak:libdbus-1.so\n") > 0);
        suppressions.close();
        environment.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=") + suppressions.fileName());
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kX11Part)});
        const bool finished = child.waitForFinished(60000);
        server.terminate();
        server.waitForFinished();
        const QByteArray output = child.readAll();
        QVERIFY2(finished && child.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("PASS   : HotKeyTest::globalHotKeyOnX11"), output.constData());
    }

    // The X11 part; the offscreen run leaves it to the child above.
    void globalHotKeyOnX11()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("runs in the child process on Xvfb");
        QWidget first;
        QWidget second;
        first.setWindowTitle(QStringLiteral("first"));
        second.setWindowTitle(QStringLiteral("second"));
        first.show();
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        HotKey field;
        field.SetHotKey('H');
        field.SetHotKeyModifier(HotKey::HOTKEYF_CONTROLALT);
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&first); }).first, 0);
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&first); }).first, 0);  // its own key again
        QCOMPARE(Raised([&] { field.SetApplicationHotKey(&second); }),
                 std::make_pair(HotKeyError::eHotKeyAlreadyAssigned, QStringLiteral("Hot key previously assigned")));

        // Another program holds every key with Shift+Ctrl.
        xcb_connection_t* other = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(other));
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
        const uint16_t shiftCtrl = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL;
        std::unique_ptr<xcb_generic_error_t, decltype(&free)> refused(
            xcb_request_check(other, xcb_grab_key_checked(other, 1, root, shiftCtrl, XCB_GRAB_ANY, XCB_GRAB_MODE_ASYNC,
                                                          XCB_GRAB_MODE_ASYNC)),
            &free);
        QVERIFY(!refused);
        HotKey taken;
        taken.SetHotKey('J');
        taken.SetHotKeyModifier(HotKey::HOTKEYF_SHIFTCONTROL);
        QCOMPARE(Raised([&] { taken.SetApplicationHotKey(&second); }).first, HotKeyError::eHotKeyAlreadyAssigned);
        xcb_disconnect(other);
        QCOMPARE(Raised([&] { taken.SetApplicationHotKey(&second); }).first, 0);

        // The key pressed while the second window is in front brings the first.
        second.raise();
        second.activateWindow();
        QSignalSpy activated(&ApplicationHotKeys::Instance(), &ApplicationHotKeys::Activated);
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+alt+h")}), 0);
        QTRY_COMPARE(activated.count(), 1);
        QCOMPARE(activated.first().first().value<QWidget*>(), &first);
        QTRY_VERIFY(first.isActiveWindow());
    }
};

QTEST_MAIN(HotKeyTest)
#include "HotKeyTest.moc"
