// velloran: the desktop program.
#include "app/shell/MGlobal.h"

int main(int argc, char** argv)
{
    return velloran::MGlobal::Main(argc, argv);
}
