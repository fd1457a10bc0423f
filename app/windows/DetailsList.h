// DetailsList: one list of the details window as the engine fills it - the
// engine's row calls passed to the list's CListView.
#pragma once

#include "app/engine/IDetailsWindow.h"

namespace velloran {

class CListView;

class DetailsList : public IDetailsList {
public:
    explicit DetailsList(CListView& list) : m_list(list) {}

    void Clear() override;
    void PreAllocate(int32_t count) override;
    void AddItem(const std::string& key, const std::string& name, const std::string& size,
                 const std::string& modified) override;
    void SetSortValues(const std::string& key, int64_t size, int64_t fileTime) override;
    void SetTag(const std::string& key, const std::string& tag) override;
    void SetFileIcon(const std::string& key, const std::string& path) override;
    void SetFileIconByExt(const std::string& key, const std::string& name) override;
    std::string Icon(const std::string& key) const override;
    void SetIcon(const std::string& key, const std::string& iconName) override;
    void SetStateImage(const std::string& key, int32_t image) override;
    void SetState(const std::string& key, uint32_t foreColor, uint32_t backColor) override;
    int32_t Count() const override;
    void SelectFirst() override;

private:
    CListView& m_list;
};

}  // namespace velloran
