// The open-with chooser: a list of application names and OK / Cancel.
#include "classlib/files/OpenWithDialog.h"

#include "classlib/files/DesktopApplications.h"
#include "classlib/files/Launcher.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMimeDatabase>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace quorvantell {

namespace {

// The file's type, its other names, then the types it derives from: an
// entry may name any of them.
std::vector<std::string> TypesOf(const std::string& docName)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QFile::decodeName(docName.c_str()));
    std::vector<std::string> types;
    for (const QString& name : QStringList{type.name()} + type.aliases() + type.allAncestors())
        types.push_back(name.toStdString());
    return types;
}

QString ShownName(const std::string& docName)
{
    return QFileInfo(QFile::decodeName(docName.c_str())).fileName();
}

}  // namespace

bool OpenWithDialog::Run(const std::string& docName, QWidget* owner)
{
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread())
        return false;
    OpenWithDialog dialog(docName, owner);
    return dialog.exec() == QDialog::Accepted;
}

OpenWithDialog::OpenWithDialog(const std::string& docName, QWidget* parent)
    : QDialog(parent), m_docName(docName), m_applications(DesktopApplications::For(TypesOf(docName))),
      m_prompt(new QLabel(this)), m_list(new QListWidget(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Open with"));
    m_list->setObjectName(QStringLiteral("applications"));
    for (const DesktopEntry& application : m_applications)
        m_list->addItem(QString::fromStdString(application.Name()));
    m_prompt->setWordWrap(true);
    m_prompt->setText(m_applications.empty()
                          ? QStringLiteral("No program on this system opens %1.").arg(ShownName(docName))
                          : QStringLiteral("Choose the program you want to use to open %1:").arg(ShownName(docName)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_list);
    layout->addWidget(m_buttons);

    QPushButton* ok = m_buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(m_list, &QListWidget::currentRowChanged, ok, [ok](int row) { ok->setEnabled(row >= 0); });
    connect(m_list, &QListWidget::itemActivated, this, &OpenWithDialog::accept);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &OpenWithDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &OpenWithDialog::reject);
    m_list->setCurrentRow(m_applications.empty() ? -1 : 0);
}

void OpenWithDialog::accept()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    const DesktopEntry& application = m_applications[static_cast<size_t>(row)];
    if (!LaunchProgram(application.Command(m_docName))) {
        m_prompt->setText(QStringLiteral("%1 could not be started. Choose another program to open %2:")
                              .arg(QString::fromStdString(application.Name()), ShownName(m_docName)));
        return;
    }
    QDialog::accept();
}

}  // namespace quorvantell
