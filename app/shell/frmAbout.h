// frmAbout: the About box - the program's icon, its title and its version
// as "v" + major.minor.revision, and "&OK". Modal, owned by the main window.
#pragma once

#include <QDialog>

namespace velloran {

class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner);

    // Shows the box over owner and returns when it is closed.
    static void Show(QWidget* owner);
};

}  // namespace velloran
