// The library's one exported symbol: ordinal -> function address. Each row
// checks at compile time that the function has the signature its ordinal
// promises in QuorvantellUtils.h; adding an export is adding a row.
#include "utils/ChooserDialogs.h"
#include "utils/Desktop.h"
#include "utils/FileDialogs.h"
#include "utils/FileOps.h"
#include "utils/FileProperties.h"
#include "utils/FolderCount.h"
#include "utils/NameChars.h"
#include "utils/Placement.h"
#include "utils/PrintSetup.h"
#include "utils/Priority.h"
#include "utils/QuorvantellUtils.h"
#include "utils/Trash.h"
#include "utils/WindowOrder.h"

namespace quorvantell {

namespace {

struct OrdinalRow {
    UtilsOrdinal ordinal;
    void* address;
};

template <typename Fn>
OrdinalRow Row(UtilsOrdinal ordinal, Fn* function)
{
    return {ordinal, reinterpret_cast<void*>(function)};
}

const OrdinalRow kRows[] = {
    Row<FnDeleteFileForced>(UtilsOrdinal::DeleteFileForced, &exports::DeleteFileForced),
    Row<FnCountFolderTree>(UtilsOrdinal::CountFolderTree, &exports::CountFolderTree),
    Row<FnGetFileSize64>(UtilsOrdinal::GetFileSize64, &exports::GetFileSize64),
    Row<FnMoveFileReplace>(UtilsOrdinal::MoveFileReplace, &exports::MoveFileReplace),
    Row<FnStripBadNameChars>(UtilsOrdinal::StripBadNameChars, &exports::StripBadNameChars),
    Row<FnRecycleFiles>(UtilsOrdinal::RecycleFiles, &exports::RecycleFiles),
    Row<FnSetFileLength>(UtilsOrdinal::SetFileLength, &exports::SetFileLength),
    Row<FnSeekFile64>(UtilsOrdinal::SeekFile64, &exports::SeekFile64),
    Row<FnSetOwnPriority>(UtilsOrdinal::SetOwnPriority, &exports::SetOwnPriority),
    Row<FnGetOwnPriority>(UtilsOrdinal::GetOwnPriority, &exports::GetOwnPriority),
    Row<FnPlaceBesideRect>(UtilsOrdinal::PlaceBesideRect, &exports::PlaceBesideRect),
    Row<FnSnapRectToRect>(UtilsOrdinal::SnapRectToRect, &exports::SnapRectToRect),
    Row<FnSnapRectToEdges>(UtilsOrdinal::SnapRectToEdges, &exports::SnapRectToEdges),
    Row<FnBrowseForFolder>(UtilsOrdinal::BrowseForFolder, &exports::BrowseForFolder),
    Row<FnChooseColorDlg>(UtilsOrdinal::ChooseColorDlg, &exports::ChooseColorDlg),
    Row<FnChooseFontDlg>(UtilsOrdinal::ChooseFontDlg, &exports::ChooseFontDlg),
    Row<FnPrintSetupDlg>(UtilsOrdinal::PrintSetupDlg, &exports::PrintSetupDlg),
    Row<FnOpenFileDlg>(UtilsOrdinal::OpenFileDlg, &exports::OpenFileDlg),
    Row<FnSaveFileDlg>(UtilsOrdinal::SaveFileDlg, &exports::SaveFileDlg),
    Row<FnShowFileProperties>(UtilsOrdinal::ShowFileProperties, &exports::ShowFileProperties),
    Row<FnForceForeground>(UtilsOrdinal::ForceForeground, &exports::ForceForeground),
    Row<FnSetTopMost>(UtilsOrdinal::SetTopMost, &exports::SetTopMost),
    Row<FnOpenWebPage>(UtilsOrdinal::OpenWebPage, &exports::OpenWebPage),
    Row<FnNotifyAssocChanged>(UtilsOrdinal::NotifyAssocChanged, &exports::NotifyAssocChanged),
};

}  // namespace

}  // namespace quorvantell

extern "C" __attribute__((visibility("default"))) void* QuorvantellUtilsOrdinal(int32_t ordinal)
{
    for (const auto& row : quorvantell::kRows) {
        if (static_cast<int32_t>(row.ordinal) == ordinal)
            return row.address;
    }
    return nullptr;
}
