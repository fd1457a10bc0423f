// File properties from lstat(2): a symbolic link is described as the link,
// naming its target, as file managers do.
#include "utils/FileProperties.h"

#include "utils/WidgetApp.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace quorvantell::exports {

namespace {

QString Display(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string LinkTarget(const std::string& path)
{
    std::vector<char> buffer(4096);
    const ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
    return n > 0 ? std::string(buffer.data(), static_cast<size_t>(n)) : std::string();
}

QString TypeText(const std::string& path, const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("Folder");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("Symbolic link to %1").arg(Display(LinkTarget(path)));
    if (S_ISREG(info.st_mode))
        return QStringLiteral("File");
    return QStringLiteral("Special file");
}

// "rw-r--r-- (0644)".
QString PermissionText(mode_t mode)
{
    static const char kLetters[] = "rwxrwxrwx";
    QString text;
    for (int bit = 0; bit < 9; ++bit)
        text += (mode & (0400 >> bit)) != 0 ? QChar(kLetters[bit]) : QChar('-');
    return QStringLiteral("%1 (%2)").arg(text).arg(mode & 07777, 4, 8, QChar('0'));
}

QString OwnerText(const struct stat& info)
{
    const passwd* user = getpwuid(info.st_uid);
    const group* grp = getgrgid(info.st_gid);
    return QStringLiteral("%1:%2")
        .arg(user != nullptr ? QString::fromLocal8Bit(user->pw_name) : QString::number(info.st_uid),
             grp != nullptr ? QString::fromLocal8Bit(grp->gr_name) : QString::number(info.st_gid));
}

QString TimeText(const timespec& time)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(time.tv_sec) * 1000 + time.tv_nsec / 1000000);
    return QLocale().toString(when, QLocale::LongFormat);
}

QString SizeText(const struct stat& info)
{
    return QStringLiteral("%1 bytes").arg(QLocale().toString(static_cast<qlonglong>(info.st_size)));
}

void AddRow(QFormLayout* form, const QString& caption, const char* name, const QString& value)
{
    auto* label = new QLabel(value);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, label);
}

std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return {trimmed, "."};
    return {trimmed.substr(slash + 1), slash == 0 ? "/" : trimmed.substr(0, slash)};
}

QDialog* BuildDialog(const std::string& path, const struct stat& info)
{
    const auto [name, folder] = SplitPath(path);
    auto* dialog = new QDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("filePropertiesDialog"));
    dialog->setWindowTitle(QStringLiteral("%1 Properties").arg(Display(name.empty() ? path : name)));
    auto* form = new QFormLayout;
    AddRow(form, QStringLiteral("Name:"), "name", Display(name));
    AddRow(form, QStringLiteral("Folder:"), "folder", Display(folder));
    AddRow(form, QStringLiteral("Type:"), "type", TypeText(path, info));
    AddRow(form, QStringLiteral("Size:"), "size", SizeText(info));
    AddRow(form, QStringLiteral("Modified:"), "modified", TimeText(info.st_mtim));
    AddRow(form, QStringLiteral("Accessed:"), "accessed", TimeText(info.st_atim));
    AddRow(form, QStringLiteral("Changed:"), "changed", TimeText(info.st_ctim));
    AddRow(form, QStringLiteral("Owner:"), "owner", OwnerText(info));
    AddRow(form, QStringLiteral("Permissions:"), "permissions", PermissionText(info.st_mode));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

}  // namespace

int32_t ShowFileProperties(const char* path)
{
    struct stat info {};
    if (path == nullptr || *path == '\0' || lstat(path, &info) != 0 || !CanShowWindows())
        return 0;
    QDialog* dialog = BuildDialog(path, info);
    dialog->show();
    return 1;
}

}  // namespace quorvantell::exports
