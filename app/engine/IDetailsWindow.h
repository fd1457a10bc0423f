// IDetailsWindow: what the engine needs from the file details window while
// it fills it - the two lists, the status line, the progress bar, the path
// headers, the two buttons, the cover laid over the lists while they fill,
// and the window itself. The details window implements it; the engine never
// reaches the window another way.
#pragma once

#include "app/engine/ISyncHost.h"

#include <cstdint>
#include <string>

namespace velloran {

// One list of the details window, as the engine fills it. Rows are keyed
// "D" + folder position or "F" + file position in the engine's lists.
class IDetailsList {
public:
    virtual ~IDetailsList() = default;

    virtual void Clear() = 0;
    virtual void PreAllocate(int32_t count) = 0;
    // A row with its three texts (File, Size, Modified); size and time, when
    // given, sort the Size and Modified columns by number.
    virtual void AddItem(const std::string& key, const std::string& name, const std::string& size,
                         const std::string& modified) = 0;
    virtual void SetSortValues(const std::string& key, int64_t size, int64_t fileTime) = 0;
    virtual void SetTag(const std::string& key, const std::string& tag) = 0;
    // The icon of an existing local file or folder; of a name by its type.
    virtual void SetFileIcon(const std::string& key, const std::string& path) = 0;
    virtual void SetFileIconByExt(const std::string& key, const std::string& name) = 0;
    virtual std::string Icon(const std::string& key) const = 0;
    virtual void SetIcon(const std::string& key, const std::string& iconName) = 0;
    virtual void SetStateImage(const std::string& key, int32_t image) = 0;
    // The row's colours (0x00BBGGRR).
    virtual void SetState(const std::string& key, uint32_t foreColor, uint32_t backColor) = 0;
    virtual int32_t Count() const = 0;
    // Selects the first row, when there is one.
    virtual void SelectFirst() = 0;
};

class IDetailsWindow {
public:
    virtual ~IDetailsWindow() = default;

    virtual IDetailsList& List(int32_t index) = 0;
    virtual IStatusLabel& StatusLabel() = 0;
    virtual IProgressControl& ProgressBar() = 0;
    // The header over list `side`: caption and tooltip.
    virtual void SetFolderCaption(int32_t side, const std::string& text) = 0;
    // "&Sync selected file(s)..." enabled or not; the caption of "&Close".
    virtual void EnableSync(bool enabled) = 0;
    virtual void SetCloseCaption(const std::string& caption) = 0;
    virtual void RestoreIfMinimised() = 0;
    // The cover over the lists while they fill (drawing suspended).
    virtual void ShowCover(bool shown) = 0;
    // Closes the window (after a failed fill).
    virtual void Unload() = 0;
};

}  // namespace velloran
