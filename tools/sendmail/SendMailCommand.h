// SendMailCommand: the options of velloran-sendmail turned into one send of
// qvSendMail, its Status and Progress events written to stderr.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velloran::tools {

struct SendMailOptions {
    std::string server;
    int port = 25;
    std::string from;
    std::string to, cc, bcc;
    std::string subject;
    std::string bodyFile;
    bool html = false;
    std::vector<std::string> attachments;
    std::string user;
    std::string passwordFile;
    std::string pop3;
    int pop3Port = 110;
};

class SendMailCommand {
public:
    // The options, or nothing with the reason in `error`.
    static std::optional<SendMailOptions> Parse(const std::vector<std::string>& args, std::string& error);
    // 0 after SendSuccess, 1 after SendFailed (explained on stderr).
    static int Run(const SendMailOptions& options);
    static const char* Usage();
};

}  // namespace velloran::tools
