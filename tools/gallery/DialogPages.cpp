// Dialog pictures. A modal dialog is photographed from a timer once it is
// the active modal widget and has had a moment to read its folder, then
// cancelled, so the call that opened it returns; the page is the picture.
#include "tools/gallery/DialogPages.h"

#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CComDialogs.h"
#include "classlib/misc/CFont.h"
#include "utils/UtilsImport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <functional>
#include <string>

namespace velloran::gallery {

namespace {

constexpr int kSettleMs = 400;
const std::string kNul(1, '\0');

void Settle(int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QLabel* Picture(const QPixmap& shot)
{
    auto* label = new QLabel;
    if (shot.isNull())
        label->setText(QStringLiteral("The dialog could not be shown."));
    else
        label->setPixmap(shot);
    label->setMargin(12);
    return label;
}

// Runs `open`, which shows a modal dialog and returns when it closes.
QWidget* PhotographModal(const std::function<void()>& open)
{
    QPixmap shot;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&timer, &shot] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        timer.stop();
        Settle(kSettleMs);
        shot = dialog->grab();
        if (auto* modal = qobject_cast<QDialog*>(dialog))
            modal->reject();
        else
            dialog->close();
    });
    timer.start();
    open();
    return Picture(shot);
}

// A small folder to browse: a few scripts, logs and sub-folders.
class SampleFolder {
public:
    SampleFolder()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("Backups"));
        QDir(m_dir.path()).mkpath(QStringLiteral("Logs"));
        for (const char* name : {"nightly.velloran", "photos.velloran", "readme.txt", "sync.log"})
            std::ofstream(Path() + "/" + name) << "Velloran sample\n";
    }
    std::string Path() const { return QFile::encodeName(m_dir.path()).toStdString(); }

private:
    QTemporaryDir m_dir;
};

quorvantell::CComDialogs& Dialogs()
{
    return *quorvantell::ClassLibrary::Shared().ComDialogs;
}

std::string ScriptFilter()
{
    return "Velloran scripts (*.velloran)" + kNul + "*.velloran" + kNul + Dialogs().filterAllFiles();
}

}  // namespace

void DialogPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("dialog-open"), QStringLiteral("Open dialog"), &DialogPages::OpenDialog);
    pages.Add(QStringLiteral("dialog-save"), QStringLiteral("Save dialog"), &DialogPages::SaveDialog);
    pages.Add(QStringLiteral("dialog-folder"), QStringLiteral("Folder dialog"), &DialogPages::FolderDialog);
    pages.Add(QStringLiteral("dialog-colour"), QStringLiteral("Colour dialog"), &DialogPages::ColourDialog);
    pages.Add(QStringLiteral("dialog-font"), QStringLiteral("Font dialog"), &DialogPages::FontDialog);
    pages.Add(QStringLiteral("dialog-print"), QStringLiteral("Print dialog"), &DialogPages::PrintDialog);
    pages.Add(QStringLiteral("dialog-properties"), QStringLiteral("File properties"), &DialogPages::PropertiesDialog);
}

QWidget* DialogPages::OpenDialog()
{
    const SampleFolder folder;
    return PhotographModal([&folder] {
        quorvantell::OFNINFO info;
        Dialogs().OpenFile(nullptr, "", folder.Path(), ScriptFilter(), quorvantell::OFN_ALLOWMULTISELECT, "velloran",
                           "Run script", info);
    });
}

QWidget* DialogPages::SaveDialog()
{
    const SampleFolder folder;
    return PhotographModal([&folder] {
        quorvantell::OFNINFO info;
        const std::string filter = "Log files" + kNul + "*.log" + kNul + Dialogs().filterAllFiles();
        Dialogs().SaveFile(nullptr, "velloran.log", folder.Path(), filter, 0, "log", "Log file", info);
    });
}

QWidget* DialogPages::FolderDialog()
{
    const SampleFolder folder;
    return PhotographModal([&folder] {
        std::string chosen;
        Dialogs().BrowseFolder(nullptr, "Select the left folder", folder.Path() + "/", quorvantell::BIF_RETURNONLYFSDIRS,
                               chosen);
    });
}

QWidget* DialogPages::ColourDialog()
{
    return PhotographModal([] {
        uint32_t colour = 0x00C0F0FF;
        std::vector<uint8_t> custom(64, 0xFF);
        Dialogs().GetColor(nullptr, colour, custom, quorvantell::CC_RGBINIT);
    });
}

QWidget* DialogPages::FontDialog()
{
    return PhotographModal([] {
        quorvantell::CFont font;
        font.FromStdFont(QApplication::font());
        Dialogs().GetFont(nullptr, font, quorvantell::CF_EFFECTS);
    });
}

// The print dialog itself, whether or not this machine has a printer (the
// class library would only say that it has none).
QWidget* DialogPages::PrintDialog()
{
    return PhotographModal([] {
        quorvantell::DEVMODE mode;
        mode.dmSize = sizeof mode;
        int32_t flags = 0;
        quorvantell::utils::PrintSetupDlg(nullptr, &flags, nullptr, 0, &mode);
    });
}

QWidget* DialogPages::PropertiesDialog()
{
    const SampleFolder folder;
    if (quorvantell::utils::ShowFileProperties((folder.Path() + "/nightly.velloran").c_str()) == 0)
        return Picture({});
    QPixmap shot;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QLatin1String("filePropertiesDialog"))
            continue;
        Settle(kSettleMs);
        shot = window->grab();
        window->close();
    }
    return Picture(shot);
}

}  // namespace velloran::gallery
