// velloran-sendmail's options and its one send.
#include "tools/sendmail/SendMailCommand.h"

#include "classlib/mail/qvSendMail.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace velloran::tools {

namespace {

using quorvantell::qvSendMail;

// "host" or "host:port"; false for a port that is not a number.
bool SplitHostPort(const std::string& text, std::string& host, int& port)
{
    const size_t colon = text.rfind(':');
    host = text.substr(0, colon);
    if (colon == std::string::npos)
        return !host.empty();
    const std::string digits = text.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::stoi(digits);
    return !host.empty();
}

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Takes the value after an option; false when there is none.
bool Value(const std::vector<std::string>& args, size_t& i, std::string& value)
{
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

std::string Missing(const SendMailOptions& o)
{
    if (o.server.empty())
        return "--server is required";
    if (o.from.empty())
        return "--from is required";
    if (o.to.empty())
        return "--to is required";
    if (o.user.empty() != o.passwordFile.empty())
        return "--user and --password-file go together";
    if (!o.pop3.empty() && o.user.empty())
        return "--pop3 needs --user and --password-file";
    for (const std::string& file : o.attachments) {
        if (file.find(';') != std::string::npos)
            return "an attachment's path may not contain \";\": " + file;
    }
    return std::string();
}

}  // namespace

const char* SendMailCommand::Usage()
{
    return "usage: velloran-sendmail --server HOST[:PORT] --from ADDR --to ADDRS [--cc ADDRS] [--bcc ADDRS]\n"
           "         [--subject TEXT] [--body-file FILE] [--html] [--attach FILE]...\n"
           "         [--user NAME --password-file FILE] [--pop3 HOST[:PORT]]\n"
           "Lists of addresses are separated by \";\". With --user the login is AUTH LOGIN;\n"
           "with --pop3 a POP3 login comes first (POP before SMTP).\n";
}

std::optional<SendMailOptions> SendMailCommand::Parse(const std::vector<std::string>& args, std::string& error)
{
    SendMailOptions o;
    std::string server, pop3, attachment;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool ok = true;
        if (a == "--server")
            ok = Value(args, i, server) && SplitHostPort(server, o.server, o.port);
        else if (a == "--from")
            ok = Value(args, i, o.from);
        else if (a == "--to")
            ok = Value(args, i, o.to);
        else if (a == "--cc")
            ok = Value(args, i, o.cc);
        else if (a == "--bcc")
            ok = Value(args, i, o.bcc);
        else if (a == "--subject")
            ok = Value(args, i, o.subject);
        else if (a == "--body-file")
            ok = Value(args, i, o.bodyFile);
        else if (a == "--html")
            o.html = true;
        else if (a == "--attach" && (ok = Value(args, i, attachment)))
            o.attachments.push_back(attachment);
        else if (a == "--user")
            ok = Value(args, i, o.user);
        else if (a == "--password-file")
            ok = Value(args, i, o.passwordFile);
        else if (a == "--pop3")
            ok = Value(args, i, pop3) && SplitHostPort(pop3, o.pop3, o.pop3Port);
        else
            ok = false;
        if (!ok) {
            error = "bad or incomplete option: " + a;
            return std::nullopt;
        }
    }
    error = Missing(o);
    if (!error.empty())
        return std::nullopt;
    return o;
}

int SendMailCommand::Run(const SendMailOptions& o)
{
    std::string body, password;
    if (!o.bodyFile.empty() && !ReadText(o.bodyFile, body)) {
        std::fprintf(stderr, "cannot read %s\n", o.bodyFile.c_str());
        return 1;
    }
    if (!o.passwordFile.empty()) {
        if (!ReadText(o.passwordFile, password)) {
            std::fprintf(stderr, "cannot read %s\n", o.passwordFile.c_str());
            return 1;
        }
        password = password.substr(0, password.find_first_of("\r\n"));
    }
    qvSendMail mail;
    int status = 1;
    QObject::connect(&mail, &qvSendMail::Status, [](const std::string& s) { std::fprintf(stderr, "%s\n", s.c_str()); });
    QObject::connect(&mail, &qvSendMail::Progress, [](int32_t p) { std::fprintf(stderr, "Progress: %d%%\n", p); });
    QObject::connect(&mail, &qvSendMail::SendSuccess, [&] { status = 0; });
    QObject::connect(&mail, &qvSendMail::SendFailed, [&](const std::string& e) {
        std::fprintf(stderr, "Send failed:\n%s", e.c_str());
        status = 1;
    });
    mail.SetSMTPHost(o.server);
    mail.SetSMTPPort(o.port);
    mail.SetFrom(o.from);
    mail.SetRecipient(o.to);
    mail.SetCcRecipient(o.cc);
    mail.SetBccRecipient(o.bcc);
    mail.Subject = o.subject;
    mail.AsHTML = o.html;
    mail.SetMessage(body);
    std::string attachments;
    for (const std::string& file : o.attachments)
        attachments += (attachments.empty() ? "" : ";") + file;
    mail.SetAttachment(attachments);
    mail.Username = o.user;
    mail.Password = password;
    mail.UseAuthentication = !o.user.empty();
    mail.UsePopAuthentication = !o.pop3.empty();
    if (!o.pop3.empty()) {
        mail.SetPOP3Host(o.pop3);
        mail.POP3Port = o.pop3Port;
    }
    mail.Send();
    return status;
}

}  // namespace velloran::tools
