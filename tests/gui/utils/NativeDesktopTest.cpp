// The desktop exports of the native utility library: web pages go to
// xdg-open (or $BROWSER when xdg-open cannot be started), and the
// association refresh rebuilds the MIME database under $XDG_DATA_HOME.
#include "tests/support/ScopedEnv.h"
#include "utils/UtilsImport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace utils = quorvantell::utils;
using velloran::test::ScopedEnv;

namespace {

// A stand-in browser that appends its arguments to a file.
void WriteRecorder(const QString& path, const QString& log)
{
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(log).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QStringList Lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

class NativeDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void webPagesOpenThroughXdgOpen()
    {
        QTemporaryDir bin;
        const QString log = bin.filePath("opened");
        WriteRecorder(bin.filePath("xdg-open"), log);
        ScopedEnv path("PATH");
        qputenv("PATH", (bin.path() + ":" + qgetenv("PATH")).toUtf8());
        utils::OpenWebPage(1);  // no such page
        utils::OpenWebPage(3);
        QTRY_COMPARE(Lines(log), QStringList{"https://velloran.example.org/help/faq/"});
        utils::OpenWebPage(0);
        utils::OpenWebPage(2);
        utils::OpenWebPage(4);
        utils::OpenWebPage(5);
        QTRY_COMPARE(Lines(log).size(), 5);
        QStringList pages = Lines(log);
        pages.sort();
        QCOMPARE(pages, (QStringList{"https://velloran.example.org/", "https://velloran.example.org/bugs/",
                                     "https://velloran.example.org/community/", "https://velloran.example.org/contact/",
                                     "https://velloran.example.org/help/faq/"}));
    }

    void browserVariableIsTheFallbackForTheHomePage()
    {
        QTemporaryDir bin;
        const QString log = bin.filePath("opened");
        WriteRecorder(bin.filePath("browser"), log);
        ScopedEnv path("PATH"), browser("BROWSER");
        qputenv("PATH", bin.path().toUtf8());  // no xdg-open anywhere
        qputenv("BROWSER", bin.filePath("browser").toUtf8());
        utils::OpenWebPage(5);
        QTRY_COMPARE(Lines(log), QStringList{"https://velloran.example.org/"});
    }

    void associationRefreshRebuildsTheMimeDatabase()
    {
        if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
            QSKIP("update-mime-database is not installed");
        QTemporaryDir data;
        ScopedEnv dataHome("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        QVERIFY(QDir(data.path()).mkpath("mime/packages"));
        QVERIFY(QDir(data.path()).mkpath("applications"));
        QFile package(data.filePath("mime/packages/velloran-script.xml"));
        QVERIFY(package.open(QIODevice::WriteOnly));
        package.write("<?xml version=\"1.0\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                      "  <mime-type type=\"application/x-velloran-script\">\n"
                      "    <comment>Velloran script</comment>\n"
                      "    <glob pattern=\"*.velloran\"/>\n"
                      "  </mime-type>\n"
                      "</mime-info>\n");
        package.close();
        utils::NotifyAssocChanged();
        QVERIFY(QFile::exists(data.filePath("mime/mime.cache")));
        QVERIFY(Lines(data.filePath("mime/globs2")).join('\n').contains("application/x-velloran-script:*.velloran"));
        if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty())
            QVERIFY(QFile::exists(data.filePath("applications/mimeinfo.cache")));
    }

    void associationRefreshWithoutDatabasesDoesNothing()
    {
        QTemporaryDir data;
        ScopedEnv dataHome("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        utils::NotifyAssocChanged();
        QCOMPARE(QDir(data.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_MAIN(NativeDesktopTest)
#include "NativeDesktopTest.moc"
