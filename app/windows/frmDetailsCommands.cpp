// frmDetails: the lists' events (focus, Ctrl+A, the popup menu, dragging
// files out), the sync-selected loop and the close button.
#include "app/windows/frmDetails.h"

#include "app/engine/CSync.h"
#include "app/engine/ProgramInfo.h"
#include "app/shell/frmSync.h"
#include "app/views/CListView.h"
#include "app/windows/frmDetailsControls.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>
#include <QUrl>

namespace velloran {

namespace {

constexpr const char* kFtpCopyError = "Error occurred while copying files to FTP server.";

void Message(QWidget* owner, const std::string& text, const std::string& caption)
{
    quorvantell::ClassLibrary::Shared().General->MessageBox(owner, text, caption,
                                                            quorvantell::MB_OK | quorvantell::MB_ICONINFORMATION);
}

}  // namespace

int frmDetails::ListOf(QObject* watched) const
{
    const Controls& c = *m_controls;
    for (int i = 0; i < 2; ++i) {
        if (watched == c.lvwFiles[i] || watched == c.lvwFiles[i]->viewport())
            return i;
    }
    return -1;
}

bool frmDetails::eventFilter(QObject* watched, QEvent* event)
{
    const int list = ListOf(watched);
    if (list < 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        m_controls->currentList = list;
        break;
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_A && key->modifiers().testFlag(Qt::ControlModifier))
            lvw(list).SetSelectAll(true);
        break;
    }
    case QEvent::MouseButtonPress:
        return ListPressed(list, static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return ListDragged(list, static_cast<QMouseEvent*>(event));
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmDetails::ListPressed(int list, QMouseEvent* event)
{
    Controls& c = *m_controls;
    if (event->button() == Qt::LeftButton) {
        c.dragStart = event->position().toPoint();
        return false;
    }
    if (event->button() != Qt::RightButton || lvw(list).Count() == 0)
        return false;
    const bool local = !(m_modeFTP && list == 1);
    c.popupProperties->setEnabled(local);
    c.popupExecute->setEnabled(local);
    c.currentList = c.popupList = list;
    c.mnuPopup->popup(event->globalPosition().toPoint());
    return false;
}

// A drag out of a list offers the selected rows' full paths as a file list;
// the server's files cannot leave that way.
bool frmDetails::ListDragged(int list, QMouseEvent* event)
{
    Controls& c = *m_controls;
    if (!event->buttons().testFlag(Qt::LeftButton) || (m_modeFTP && list == 1) ||
        (event->position().toPoint() - c.dragStart).manhattanLength() < QApplication::startDragDistance())
        return false;
    QList<QUrl> files;
    CListView& rows = lvw(list);
    for (int32_t i = 1; i <= rows.Count(); ++i) {
        if (rows.Selected(i))
            files.push_back(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(FullPath(list, i)))));
    }
    if (files.isEmpty())
        return false;
    auto* data = new QMimeData;
    data->setUrls(files);
    auto* drag = new QDrag(c.lvwFiles[list]);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
    return true;
}

std::string frmDetails::FullPath(int list, int32_t row)
{
    return FolderCaption(list) + lvw(list).Item(row, 1);
}

void frmDetails::PopupProperties()
{
    const int list = m_controls->popupList;
    const int32_t row = lvw(list).SelectedItem();
    if (row > 0)
        quorvantell::ClassLibrary::Shared().File->FileProperties(FullPath(list, row));
}

void frmDetails::PopupExecute()
{
    const int list = m_controls->popupList;
    const int32_t row = lvw(list).SelectedItem();
    if (row <= 0)
        return;
    const std::string path = FullPath(list, row);
    const quorvantell::CFile& file = *quorvantell::ClassLibrary::Shared().File;
    if (!file.FileExists(path) && !file.DirExists(path))
        return;
    if (!file.RunDocument(path, quorvantell::CFile::SW_SHOWNORMAL))
        file.RunDocumentWith(path);
}

void frmDetails::SyncSelected()
{
    const int list = m_controls->currentList;
    CListView& rows = lvw(list);
    frmSync dialog(*this);
    try {
        int32_t n = rows.Count();
        for (int32_t i = 1; i <= n;) {
            const int32_t before = n;
            if (rows.Selected(i) && rows.Tag(i) != "D") {
                if (m_modeFTP)
                    dialog.FillFormFTP(list, i);
                else
                    dialog.FillForm(list, i);
                dialog.exec();
                if (dialog.HasErr()) {
                    Message(this, kFtpCopyError, kProgramTitle);
                    return;
                }
            }
            QApplication::processEvents();
            // The dialog's work may have removed the row: the same position
            // is looked at again.
            n = rows.Count();
            if (n == before)
                ++i;
        }
    } catch (const std::exception&) {
        Message(this, kFtpCopyError, kProgramTitle);
        return;
    }
    Message(this, "All done!", "Sync files");
}

void frmDetails::CloseClicked()
{
    // While the lists fill, "&Close" only asks the filling to stop.
    if (m_sync.detailsRunning) {
        m_sync.Cancel = true;
        return;
    }
    if (m_modeFTP)
        m_sync.m_FTP.Disconnect();
    close();
}

}  // namespace velloran
