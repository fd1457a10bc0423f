// ISyncHost: the one behaviour every host shares, the same-folder test.
#include "app/engine/ISyncHost.h"

#include <sys/stat.h>

namespace velloran {

bool ISyncHost::SelectedFoldersSame() const
{
    struct stat left{}, right{};
    const std::string a = SelectedFolder(0), b = SelectedFolder(1);
    return !a.empty() && !b.empty() && stat(a.c_str(), &left) == 0 && stat(b.c_str(), &right) == 0 &&
           left.st_dev == right.st_dev && left.st_ino == right.st_ino;
}

}  // namespace velloran
