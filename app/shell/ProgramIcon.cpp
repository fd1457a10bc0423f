// The program's icon from the built-in pictures.
#include "app/shell/ProgramIcon.h"

namespace velloran {

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velloran/icons/velloran-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace velloran
