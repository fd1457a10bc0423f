// velloran-sendmail: sends one message through the class library's mail
// sender. Exit status 0 when it was delivered, 1 when the send failed,
// 2 for bad usage.
#include "tools/sendmail/SendMailCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = velloran::tools::SendMailCommand::Parse(args, error);
    if (!options) {
        std::fprintf(stderr, "velloran-sendmail: %s\n%s", error.c_str(), velloran::tools::SendMailCommand::Usage());
        return 2;
    }
    return velloran::tools::SendMailCommand::Run(*options);
}
