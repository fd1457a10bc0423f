// Binding by ordinal: the table answers known ordinals and nothing else, and
// a missing library or ordinal is a clear UtilsMissing error.
#include "utils/UtilsImport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace quorvantell;

TEST(UtilsBinding, EveryFileAndGeometryOrdinalIsBound)
{
    for (const UtilsOrdinal o :
         {UtilsOrdinal::DeleteFileForced, UtilsOrdinal::CountFolderTree, UtilsOrdinal::GetFileSize64,
          UtilsOrdinal::MoveFileReplace, UtilsOrdinal::StripBadNameChars, UtilsOrdinal::RecycleFiles,
          UtilsOrdinal::SetFileLength, UtilsOrdinal::SeekFile64, UtilsOrdinal::SetOwnPriority,
          UtilsOrdinal::PlaceBesideRect, UtilsOrdinal::SnapRectToRect, UtilsOrdinal::SnapRectToEdges}) {
        EXPECT_NE(BindUtilsOrdinal(static_cast<int32_t>(o)), nullptr) << static_cast<int32_t>(o);
    }
}

TEST(UtilsBinding, UnknownOrdinalIsReported)
{
    for (const int32_t ordinal : {0, -1, 212 + 1, 99999}) {
        try {
            BindUtilsOrdinal(ordinal);
            ADD_FAILURE() << "ordinal " << ordinal << " was bound";
        } catch (const UtilsMissing& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string(kUtilsLibraryName) + " has no export with ordinal " + std::to_string(ordinal));
        }
    }
}

TEST(UtilsBinding, MissingLibraryIsReportedByName)
{
    try {
        BindUtilsOrdinal(static_cast<int32_t>(UtilsOrdinal::CountFolderTree), "libQuorvantellNoSuchUtils.so.1");
        FAIL() << "a missing library was bound";
    } catch (const UtilsMissing& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("The native utility library libQuorvantellNoSuchUtils.so.1 could not be loaded: ", 0), 0u)
            << message;
    }
}

}  // namespace
