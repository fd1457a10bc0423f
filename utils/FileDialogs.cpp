// Open, save and folder dialogs. The filter list arrives as description and
// pattern pairs; Qt wants "description (patterns)" and shows only the
// description, as the caller wrote it.
#include "utils/FileDialogs.h"

#include "utils/QuorvantellUtils.h"
#include "utils/WidgetApp.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace quorvantell::exports {

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8 != nullptr ? utf8 : "");
}

// "*.txt;*.log" -> "*.txt *.log"; "*.*" means every file, dotted or not.
QString Patterns(const char* patterns)
{
    QStringList out;
    for (const QString& one : QString::fromUtf8(patterns).split(';', Qt::SkipEmptyParts)) {
        const QString trimmed = one.trimmed();
        out << (trimmed == "*.*" ? QStringLiteral("*") : trimmed);
    }
    return out.join(' ');
}

// Each filter as Qt takes it, "description (patterns)", and its description
// alone, which is what the dialog shows (and, depending on the Qt version,
// reports as the selected filter).
struct NameFilters {
    QStringList filters;
    QStringList descriptions;

    explicit NameFilters(const char* filter)
    {
        if (filter == nullptr)
            return;
        for (const char* p = filter; *p != '\0';) {
            const char* description = p;
            p += std::strlen(p) + 1;
            if (*p == '\0')
                break;  // a description without its pattern ends the list
            descriptions << QString::fromUtf8(description);
            filters << QStringLiteral("%1 (%2)").arg(descriptions.back(), Patterns(p));
            p += std::strlen(p) + 1;
        }
    }

    // 1-based; 1 when the dialog names none of them.
    int32_t IndexOf(const QString& selected) const
    {
        qsizetype index = filters.indexOf(selected);
        if (index < 0)
            index = descriptions.indexOf(selected);
        return static_cast<int32_t>(std::max<qsizetype>(index, 0)) + 1;
    }
};

// The extension a default-extension argument names: callers pass "log",
// ".log" or a filter pattern such as "*.log" (the first of "*.txt;*.log").
// A pattern that names no single extension ("*.*", "*") gives none.
QString DefaultSuffix(const char* defExt)
{
    QString suffix = Text(defExt).section(';', 0, 0).trimmed();
    while (suffix.startsWith('*') || suffix.startsWith('.'))
        suffix.remove(0, 1);
    if (suffix.contains('*') || suffix.contains('?') || suffix.contains('['))
        return {};
    return suffix;
}

std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

struct Selection {
    std::string text;  // without the final NUL
    int32_t offset = 0;
};

// One name: its full path. Several: folder, NUL, names each ended by NUL.
std::optional<Selection> SelectionText(const QStringList& chosen)
{
    if (chosen.isEmpty())
        return std::nullopt;
    if (chosen.size() == 1) {
        const std::string path = Bytes(chosen.first());
        const auto slash = path.rfind('/');
        if (slash == std::string::npos)
            return std::nullopt;
        return Selection{path, static_cast<int32_t>(slash + 1)};
    }
    Selection selection;
    selection.text = Bytes(QFileInfo(chosen.first()).absolutePath());
    selection.text.push_back('\0');
    selection.offset = static_cast<int32_t>(selection.text.size());
    for (const QString& file : chosen) {
        selection.text += Bytes(QFileInfo(file).fileName());
        selection.text.push_back('\0');
    }
    return selection;
}

void Configure(QFileDialog& dialog, bool save, const std::string& file, const char* initialFolder, int32_t flags,
               const char* defExt)
{
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags & OFN_OVERWRITEPROMPT) == 0);
    } else {
        dialog.setFileMode((flags & OFN_ALLOWMULTISELECT) != 0 ? QFileDialog::ExistingFiles
                                                                : QFileDialog::ExistingFile);
    }
    dialog.setOption(QFileDialog::DontResolveSymlinks, (flags & OFN_NODEREFERENCELINKS) != 0);
    if (initialFolder != nullptr && *initialFolder != '\0')
        dialog.setDirectory(QFile::decodeName(initialFolder));
    if (!file.empty())
        dialog.selectFile(QFile::decodeName(file.c_str()));
    dialog.setDefaultSuffix(DefaultSuffix(defExt));
}

int32_t RunFileDialog(bool save, int32_t bufferSize, void* owner, char* file, const char* initialFolder,
                      const char* filter, int32_t flags, const char* defExt, const char* title, int32_t* filterIndex)
{
    if (file == nullptr || !CanShowWindows())
        return 0;
    QFileDialog dialog(WidgetFromHandle(owner), Text(title));
    const std::string initialName(file, strnlen(file, static_cast<size_t>(bufferSize)));
    Configure(dialog, save, initialName, initialFolder, flags | (save ? kSaveForcedFlags : kOpenForcedFlags), defExt);
    const NameFilters filters(filter);
    if (!filters.filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters.filters);
        dialog.selectNameFilter(filters.filters.first());
    }
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const std::optional<Selection> selection = SelectionText(dialog.selectedFiles());
    // The text, its NUL and (for the list form) the closing NUL must fit.
    if (!selection || selection->text.size() + 2 > static_cast<size_t>(bufferSize))
        return 0;
    std::memset(file, 0, static_cast<size_t>(bufferSize));
    std::memcpy(file, selection->text.data(), selection->text.size());
    if (filterIndex != nullptr)
        *filterIndex = filters.IndexOf(dialog.selectedNameFilter());
    return selection->offset;
}

}  // namespace

int32_t BrowseForFolder(void* owner, const char* title, const char* initialFolder, int32_t flags, char* path,
                        int32_t pathSize)
{
    if (path == nullptr || pathSize <= 0 || (flags & (BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER)) != 0 ||
        !CanShowWindows())
        return 0;
    QFileDialog dialog(WidgetFromHandle(owner), Text(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (initialFolder != nullptr && *initialFolder != '\0')
        dialog.setDirectory(QFile::decodeName(initialFolder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return 0;
    const std::string chosen = Bytes(dialog.selectedFiles().first());
    if (chosen.empty() || chosen.size() + 1 > static_cast<size_t>(pathSize))
        return 0;
    std::memcpy(path, chosen.c_str(), chosen.size() + 1);
    return 1;
}

int32_t OpenFileDlg(void* owner, char* file, const char* initialFolder, const char* filter, int32_t flags,
                    const char* defExt, const char* title, int32_t* filterIndex)
{
    return RunFileDialog(false, kOpenFileBufferSize, owner, file, initialFolder, filter, flags, defExt, title,
                         filterIndex);
}

int32_t SaveFileDlg(void* owner, char* file, const char* initialFolder, const char* filter, int32_t flags,
                    const char* defExt, const char* title, int32_t* filterIndex)
{
    return RunFileDialog(true, kSaveFileBufferSize, owner, file, initialFolder, filter, flags, defExt, title,
                         filterIndex);
}

}  // namespace quorvantell::exports
