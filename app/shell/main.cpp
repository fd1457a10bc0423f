// velloran: the desktop program.
#include "app/shell/frmMain.h"
#include "classlib/general/ClassLibrary.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    quorvantell::ClassLibrary::Shared();
    velloran::frmMain window;
    window.Load();
    window.show();
    return app.exec();
}
