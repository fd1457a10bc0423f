// CFile.RunDocumentWith: the chooser offers the applications whose desktop
// entries, or their folder's mimeinfo.cache, name the file's type (a user's
// hidden entry and another type's entry left out), says when the chosen one
// cannot start, and starts the chosen one with the file.
#include "classlib/files/CFile.h"
#include "classlib/files/OpenWithDialog.h"
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/TempFolder.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

using quorvantell::CFile;
using quorvantell::OpenWithDialog;
using velloran::test::WhenModal;

namespace {

void Write(const std::string& path, const std::string& text)
{
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
    std::ofstream(path) << text;
}

QStringList Names(const QListWidget* list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    return names;
}

}  // namespace

class OpenWithTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    const std::string m_root = m_temp.Root();

    void Entry(const std::string& file, const std::string& lines)
    {
        Write(m_root + "/data/applications/" + file, "[Desktop Entry]\nType=Application\n" + lines);
    }

private slots:
    void initTestCase() { setenv("XDG_DATA_HOME", (m_root + "/data").c_str(), 1); }

    void chooserOffersTheApplicationsOfTheFilesType()
    {
        const std::string recorder = m_root + "/record.sh";
        Write(recorder, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.ran\"\n");
        chmod(recorder.c_str(), 0755);
        Entry("recorder.desktop",
              "Name=Velloran Recorder\nExec=\"" + recorder + "\" --from-entry %f\nMimeType=text/plain;\n");
        Entry("vendor/cached.desktop", "Name=Cached Viewer\nExec=" + recorder + "\n");
        Write(m_root + "/data/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=vendor-cached.desktop;\n");
        Entry("image.desktop", "Name=Image Viewer\nExec=" + recorder + "\nMimeType=image/png;\n");
        Entry("hidden.desktop", "Name=Hidden Editor\nExec=" + recorder + "\nMimeType=text/plain;\nHidden=true\n");
        Entry("broken.desktop", "Name=Broken Tool\nExec=/no/such/program %f\nMimeType=text/plain;\n");
        const std::string document = m_root + "/notes and plans.txt";
        Write(document, "plans\n");

        WhenModal<OpenWithDialog>([](OpenWithDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("applications"));
            const QStringList names = Names(list);
            for (const char* offered : {"Velloran Recorder", "Cached Viewer", "Broken Tool"})
                QVERIFY2(names.contains(offered), offered);
            QVERIFY(!names.contains("Image Viewer"));
            QVERIFY(!names.contains("Hidden Editor"));

            list->setCurrentRow(static_cast<int>(names.indexOf("Broken Tool")));
            dialog->accept();
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->findChild<QLabel*>()->text().contains("could not be started"));

            list->setCurrentRow(static_cast<int>(names.indexOf("Velloran Recorder")));
            dialog->accept();
        });
        CFile().RunDocumentWith(document);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(recorder + ".ran")), 30000);
        std::ifstream ran(recorder + ".ran");
        const std::string arguments((std::istreambuf_iterator<char>(ran)), std::istreambuf_iterator<char>());
        QCOMPARE(arguments, "--from-entry\n" + document + "\n");
    }
};

QTEST_MAIN(OpenWithTest)
#include "OpenWithTest.moc"
