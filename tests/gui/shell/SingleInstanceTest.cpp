// Starts of the real program in separate processes: a later start's script
// runs in the running instance (whose window a wake-up restores), later
// starts in quick succession each run, a killed instance blocks nothing, a
// start meeting an instance that closes runs on its own, the command line
// names one script, and another user cannot hand anything over.
#include "app/shell/MGlobal.h"
#include "app/shell/frmMain.h"
#ifndef Q_MOC_RUN  // moc cannot read the C++20 headers behind the engine
#include "app/engine/OptionsRecord.h"
#endif
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CSingleInst.h"
#include "tests/support/RunAs.h"
#include "tests/support/TempDir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstring>
#include <memory>

using velloran::test::Exists;
using velloran::test::TempDir;
using velloran::test::WriteFile;

namespace {

constexpr int kDeadlineMs = 120000;
constexpr const char* kKey = "Software\\Quorvantell\\Velloran\\e\\";
constexpr int64_t kYear2000 = 125'911'584'000'000'000;  // raw file time

quorvantell::CRegistry& Registry()
{
    return *quorvantell::ClassLibrary::Shared().Registry;
}

// A hand-over made by hand as a later start makes it: true when the running
// instance answered that it has run the command line.
bool HandedOver(const std::string& channel, const std::string& commandLine)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, channel.c_str(), sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    char answer = 0;
    const bool answered = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                          send(fd, commandLine.c_str(), commandLine.size() + 1, MSG_NOSIGNAL) > 0 &&
                          read(fd, &answer, 1) == 1;
    close(fd);
    return answered;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

    using Process = std::unique_ptr<QProcess>;

    TempDir m_home{"home"};
    std::unique_ptr<TempDir> m_runtime, m_dir;
    std::string m_channel;

    Process Start(const QStringList& arguments) const
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setWorkingDirectory(QString::fromStdString(m_dir->Path()));
        process->start(QCoreApplication::applicationDirPath() + "/velloran", arguments);
        return process;
    }

    static int Ended(QProcess& process)
    {
        if (!process.waitForFinished(kDeadlineMs))
            process.kill();
        process.waitForFinished();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // A script ending at its quit line: a copy into M, then `busy` rounds of
    // copying many files into R and deleting them again; then, with `error`,
    // a job whose copy fails (logged, so the program stays open).
    QString Script(const std::string& name, int busy, bool error) const
    {
        std::string text;
        const auto job = [&](const std::string& left, const std::string& right, const char* action) {
            text += *m_dir / left + "\r\n" + *m_dir / right + "\r\n" + action + "\r\nN\r\n";
        };
        if (busy > 0)
            job("L", "M", "1");
        for (int i = 0; i < busy; ++i) {
            job("L", "R", "1");
            job("R", "E", "4");
        }
        if (error)
            job("L", "blocked", "1");
        WriteFile(*m_dir / name, text + "Q\r\n");
        return QString::fromStdString(*m_dir / name);
    }

    // The scripts the log file shows, in the order they ended.
    QStringList Runs() const
    {
        static const QRegularExpression start("Start Sync Script (.*) at ");
        QStringList runs;
        const QString log = QString::fromStdString(velloran::test::ReadFile(m_home / "velloran.log"));
        for (auto it = start.globalMatch(log); it.hasNext();)
            runs << it.next().captured(1);
        return runs;
    }

    bool LockHeld() const
    {
        const int fd = open((m_channel + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
        const bool held = fd >= 0 && flock(fd, LOCK_SH | LOCK_NB) != 0;
        if (fd >= 0)
            close(fd);
        return held;
    }

    // Closes the running instance by a later start of a plain quit script.
    void Close(QProcess& running)
    {
        Process quit = Start({Script("quit.velloran", 0, false)});
        QCOMPARE(Ended(*quit), 0);
        QCOMPARE(Ended(running), 0);
    }

private slots:
    void initTestCase()
    {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            setenv(name, (m_home / name).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Now and then an instance ended while it starts leaves one block of
        // Qt Core's own (152 bytes, no frame of ours) to the sanitizer's
        // leak check; the program's own leaks are still checked by every
        // other test.
        WriteFile(m_home / "lsan.supp", "leak:libQt6Core.so\n");
        setenv("LSAN_OPTIONS", ("suppressions=" + m_home / "lsan.supp").c_str(), 1);
        velloran::OptionsRecord options;
        options.ErrorAction = 1;  // ignore and go on: no question box
        const velloran::OptionsRecord::Bytes bytes = options.ToBytes();
        const std::string key = std::string(kKey) + "Options";
        Registry().SetKeyBinary(quorvantell::eRegBaseKey::HKCU, key, "Options", bytes.data(), bytes.size());
        Registry().SetKeyStr(quorvantell::eRegBaseKey::HKCU, key, "OLogFile", m_home / "velloran.log");
    }

    void init()
    {
        m_runtime = std::make_unique<TempDir>("run");
        m_dir = std::make_unique<TempDir>("scripts");
        setenv("XDG_RUNTIME_DIR", m_runtime->Path().c_str(), 1);
        m_channel = quorvantell::CSingleInst::ChannelPath("Velloran", velloran::MGlobal::Revision());
        WriteFile(m_home / "velloran.log", "");
        for (int i = 0; i < 200; ++i)
            WriteFile(*m_dir / ("L/f" + std::to_string(i)), "file");
        WriteFile(*m_dir / "L/a.txt", "a");
        WriteFile(*m_dir / "blocked/a.txt/inside", "blocks the copy");
        velloran::test::SetFileTime(*m_dir / "blocked/a.txt", kYear2000);
        for (const char* folder : {"E", "M", "R"})
            velloran::test::MakeDirs(*m_dir / folder);
    }

    void laterStartRunsInTheRunningInstance()
    {
        Process first = Start({});
        QTRY_VERIFY_WITH_TIMEOUT(LockHeld(), kDeadlineMs);  // it may not listen yet
        const QString script = Script("error.velloran", 0, true);
        Process later = Start({"error.velloran"});  // relative to the folder it was made in
        QCOMPARE(Ended(*later), 0);
        QCOMPARE(Runs(), QStringList{script});
        QCOMPARE(Registry().GetKeyStr(quorvantell::eRegBaseKey::HKCU, kKey, "Instances"), "error.velloran");
        Close(*first);
        QCOMPARE(Runs(), (QStringList{script, Script("quit.velloran", 0, false)}));
    }

    void quickLaterStartsEachRun()
    {
        Process first = Start({});
        QTRY_VERIFY_WITH_TIMEOUT(LockHeld(), kDeadlineMs);
        const QStringList scripts{Script("one.velloran", 40, true), Script("two.velloran", 40, true)};
        Process one = Start({scripts[0]});
        Process two = Start({scripts[1]});
        QCOMPARE(Ended(*one), 0);
        QCOMPARE(Ended(*two), 0);
        QStringList runs = Runs();
        runs.sort();
        QCOMPARE(runs, scripts);
        Close(*first);
    }

    void wakeUpRestoresAMinimisedWindow()
    {
        velloran::frmMain form;
        form.Load();
        form.showMinimized();
        velloran::MGlobal::ShowMainWindow(form, "", true);
        QVERIFY(form.isVisible() && !form.isMinimized());
    }

    void killedInstanceBlocksNothing()
    {
        Process first = Start({});
        QTRY_VERIFY_WITH_TIMEOUT(Exists(m_channel), kDeadlineMs);
        first->kill();
        first->waitForFinished();
        const QString script = Script("quit.velloran", 0, false);
        Process next = Start({script});
        QCOMPARE(Ended(*next), 0);
        QCOMPARE(Runs(), QStringList{script});
    }

    void startMeetingAClosingInstanceRunsOnItsOwn()
    {
        Process first = Start({});
        QTRY_VERIFY_WITH_TIMEOUT(LockHeld(), kDeadlineMs);
        const QString closing = Script("closing.velloran", 60, false), own = Script("own.velloran", 0, true);
        Process closer = Start({closing});
        QTRY_VERIFY_WITH_TIMEOUT(Exists(*m_dir / "M/a.txt"), kDeadlineMs);  // its run has begun
        Process late = Start({own});
        QCOMPARE(Ended(*closer), 0);
        QCOMPARE(Ended(*first), 0);
        QTRY_COMPARE_WITH_TIMEOUT(Runs(), (QStringList{closing, own}), kDeadlineMs);
        QVERIFY(LockHeld());  // by the late start, the running instance now
        Close(*late);
    }

    void commandLineNamesOneScript_data()
    {
        QTest::addColumn<QStringList>("arguments");  // %1 is the scripts' folder
        QTest::newRow("in quotes") << QStringList{"\"%1/my script.velloran\""};
        QTest::newRow("two words") << QStringList{"%1/my", "script.velloran"};
    }

    void commandLineNamesOneScript()
    {
        QFETCH(QStringList, arguments);
        arguments.replaceInStrings("%1", QString::fromStdString(m_dir->Path()));
        const QString script = Script("my script.velloran", 0, false);
        Process only = Start(arguments);
        QCOMPARE(Ended(*only), 0);
        QCOMPARE(Runs(), QStringList{script});
    }

    void otherUserCannotHandOver()
    {
        if (!velloran::test::IsRoot())
            QSKIP("needs root to act as another user");
        Process first = Start({});
        QTRY_VERIFY_WITH_TIMEOUT(Exists(m_channel), kDeadlineMs);
        const std::string channel = m_channel, script = Script("error.velloran", 0, true).toStdString();
        const auto refused = [&] { return !HandedOver(channel, script); };
        QVERIFY(velloran::test::RunAsNobody(refused));  // private folder, socket 0600
        chmod(m_runtime->Path().c_str(), 0711);
        chmod(channel.c_str(), 0666);
        QVERIFY(velloran::test::RunAsNobody(refused));  // turned away by its user id
        chmod(m_runtime->Path().c_str(), 0700);
        QVERIFY(HandedOver(channel, script));
        Close(*first);
        QCOMPARE(Runs(), (QStringList{QString::fromStdString(script), Script("quit.velloran", 0, false)}));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
