// qvSendMail against real servers on 127.0.0.1: aiosmtpd (AUTH LOGIN,
// STARTTLS) and dovecot (POP before SMTP). Every received message is read
// back with Python's email package and compared with what was sent.
#include "classlib/general/ClassLibrary.h"
#include "classlib/mail/qvSendMail.h"
#include "tests/classlib/mail/MailPeers.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QSslConfiguration>
#include <QSslCertificate>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>

using namespace quorvantell;
using namespace velloran::test;

namespace {

struct Outcome {
    std::vector<std::string> statuses;
    std::vector<int32_t> progress;
    std::vector<std::string> failures;
    int successes = 0;

    bool Saw(const std::string& status) const
    {
        return std::find(statuses.begin(), statuses.end(), status) != statuses.end();
    }
};

class SendMailTest : public testing::Test {
protected:
    // The waits run the event loop, as they do in a program with windows.
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "classlib_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            s_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_app.reset(); }

    void SetUp() override
    {
        const std::string missing = MissingMailPeers(false);
        if (!missing.empty())
            GTEST_SKIP() << missing;
        QObject::connect(&mail, &qvSendMail::Status, [this](const std::string& s) { outcome.statuses.push_back(s); });
        QObject::connect(&mail, &qvSendMail::Progress, [this](int32_t p) { outcome.progress.push_back(p); });
        QObject::connect(&mail, &qvSendMail::SendFailed, [this](const std::string& e) { outcome.failures.push_back(e); });
        QObject::connect(&mail, &qvSendMail::SendSuccess, [this] { ++outcome.successes; });
        mail.ConnectTimeout = 5;
        mail.MessageTimeout = 10;
        mail.SetFrom("sender@velloran.com");
        mail.SetRecipient("to@velloran.com");
        mail.Subject = "Hello";
        mail.SetMessage("Body");
    }

    void Aim(int port)
    {
        mail.SetSMTPHost("127.0.0.1");
        mail.SetSMTPPort(port);
    }

    std::string MakeFile(const std::string& name, size_t size)
    {
        std::string bytes(size, '\0');
        std::mt19937 random(static_cast<unsigned>(size));
        for (char& c : bytes)
            c = static_cast<char>(random());
        WriteFile(files / name, bytes);
        return files / name;
    }

    static std::string Sha256(const std::string& path)
    {
        return QCryptographicHash::hash(QByteArray::fromStdString(ReadFile(path)), QCryptographicHash::Sha256)
            .toHex()
            .toStdString();
    }

    static inline std::unique_ptr<QCoreApplication> s_app;
    qvSendMail mail;
    Outcome outcome;
    TempDir files{"mail"};
};

std::string Header(const QJsonObject& message, const char* name)
{
    const QJsonArray values = message["headers"].toObject()[name].toArray();
    return values.isEmpty() ? std::string("(none)") : values.first().toString().toStdString();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0)
            lines.emplace_back(), ++i;
        else
            lines.back() += text[i];
    }
    return lines;
}

}  // namespace

TEST_F(SendMailTest, MessageWithAttachmentsArrivesIntactAfterLogin)
{
    SmtpPeer server({"mailer", "s3cret"});
    Aim(server.Port());
    mail.UseAuthentication = true;
    mail.Username = "mailer";
    mail.Password = "s3cret";
    mail.FromDisplayName = "Sender Name";
    mail.SetRecipient("one@velloran.com; two@velloran.com");
    mail.RecipientDisplayName = "Zo\xC3\xAB One";
    mail.SetCcRecipient("cc@velloran.com");
    mail.SetBccRecipient("hidden@velloran.com");
    mail.Subject = "Na\xC3\xAFve subject of fifty characters, give or take a!";
    mail.SetPriority(HIGH_PRIORITY);
    mail.SetMessage("First line\n.leading dot\n" + std::string(2000, 'w') + "\nlast");
    const std::string big = MakeFile("big.bin", 1 << 20), empty = MakeFile("empty.dat", 0);
    mail.SetAttachment(big + ";" + empty);
    mail.Send();

    ASSERT_EQ(outcome.failures, std::vector<std::string>());
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_TRUE(outcome.Saw("Host Login OK!"));
    EXPECT_TRUE(outcome.Saw("Sending Attachment, big.bin..."));
    EXPECT_EQ(outcome.statuses.back(), "Closing Connection...");
    ASSERT_FALSE(outcome.progress.empty());
    EXPECT_EQ(outcome.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(outcome.progress.begin(), outcome.progress.end()));

    ASSERT_EQ(server.Received(), 1);
    EXPECT_EQ(server.Envelope(1), (std::vector<std::string>{"sender@velloran.com", "one@velloran.com",
                                                            "two@velloran.com", "cc@velloran.com",
                                                            "hidden@velloran.com"}));
    const QJsonObject message = server.Read(1);
    EXPECT_EQ(Header(message, "subject"), "Na\xC3\xAFve subject of fifty characters, give or take a!");
    EXPECT_EQ(Header(message, "from"), "\"Sender Name\" <sender@velloran.com>");
    // The folded list unfolds with the tab kept.
    EXPECT_EQ(Header(message, "to"), "Zo\xC3\xAB One <one@velloran.com>,  \"two@velloran.com\" <two@velloran.com>");
    EXPECT_EQ(Header(message, "cc"), "\"cc@velloran.com\" <cc@velloran.com>");
    EXPECT_EQ(Header(message, "bcc"), "(none)");
    EXPECT_EQ(Header(message, "x-priority"), "1");
    EXPECT_EQ(message["content_type"].toString(), "multipart/mixed");
    const std::string raw = message["raw_headers"].toString().toStdString();
    EXPECT_NE(raw.find("?=\r\n\t=?ISO-8859-1?B?"), std::string::npos) << raw;
    EXPECT_NE(raw.find("boundary=\"----_=_NextPart_000_"), std::string::npos) << raw;
    EXPECT_TRUE(testing::internal::RE::PartialMatch(Header(message, "date"),
                                                    "^[A-Z][a-z]{2}, [1-9][0-9]? [A-Z][a-z]{2} 20[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [+-][0-9]{4}$"));

    const std::vector<std::string> body = Lines(message["body"].toString().toStdString());
    ASSERT_GE(body.size(), 6u);
    EXPECT_EQ(body[1], ".leading dot");
    EXPECT_EQ(body[2], std::string(998, 'w'));
    EXPECT_EQ(body[3], std::string(998, 'w'));
    EXPECT_EQ(body[4], "wwww");
    const QJsonArray parts = message["parts"].toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0]["filename"].toString(), "big.bin");
    EXPECT_EQ(parts[0]["sha256"].toString().toStdString(), Sha256(big));
    EXPECT_EQ(parts[1]["filename"].toString(), "empty.dat");
    EXPECT_EQ(parts[1]["size"].toInt(), 0);
}

TEST_F(SendMailTest, UuencodedAttachmentRoundTripsWithoutMimeHeaders)
{
    SmtpPeer server;
    Aim(server.Port());
    mail.EncodeType = UU_ENCODE;
    const std::string odd = MakeFile("odd.bin", 45 * 60 + 1), even = MakeFile("even.bin", 45 * 3 + 2);
    mail.SetAttachment(odd + ";" + even);
    mail.Send();

    ASSERT_EQ(outcome.failures, std::vector<std::string>());
    const QJsonObject message = server.Read(1);
    EXPECT_EQ(message["raw_headers"].toString().toStdString().find("MIME"), std::string::npos);
    const QJsonArray files = message["uuencoded"].toArray();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0]["filename"].toString(), "odd.bin");
    EXPECT_EQ(files[0]["sha256"].toString().toStdString(), Sha256(odd));
    EXPECT_EQ(files[1]["sha256"].toString().toStdString(), Sha256(even));
}

TEST_F(SendMailTest, HtmlBodyReferencesItsAttachedImage)
{
    SmtpPeer server;
    Aim(server.Port());
    mail.AsHTML = true;
    mail.SetContentBase("www.velloran.com\\site");
    mail.SetMessage("<html><body><p>logo.gif</p><img src=\"images/logo.gif\"></body></html>");
    mail.SetAttachment(MakeFile("logo.gif", 300));
    mail.Send();

    ASSERT_EQ(outcome.failures, std::vector<std::string>());
    EXPECT_TRUE(outcome.Saw("Sending Embedded File, logo.gif..."));
    const QJsonObject message = server.Read(1);
    EXPECT_EQ(message["content_type"].toString(), "multipart/related");
    EXPECT_EQ(message["body_type"].toString(), "text/html");
    EXPECT_EQ(message["body"].toString().toStdString(),
              "<html><body><p>logo.gif</p><img src=\"cid:logo.gif\"></body></html>\r\n");
    EXPECT_NE(server.RawMessage(1).find("Content-Base: \"http://www.velloran.com/site/\""), std::string::npos);
    const QJsonObject part = message["parts"].toArray()[0].toObject();
    EXPECT_EQ(part["content_id"].toString(), "<logo.gif>");
    EXPECT_EQ(part["content_type"].toString(), "image/gif");
}

TEST_F(SendMailTest, LoginOutcomes)
{
    struct Row {
        SmtpPeerOptions server;
        std::string password;
        std::string status;
        std::string failure;  // start of the explanation; empty for success
    } rows[] = {
        {{}, "any", "Login Not Supported by Host, Continuing...", ""},
        {{"mailer", "right"}, "right", "Host Login OK!", ""},
        {{"mailer", "right"}, "wrong", "Host Login Failed!", "535 5.7.8 Authentication credentials invalid"},
        {{"mailer", "right", false, "Who are you?"}, "right", "Host Login Failed!", "501 5.7.0 Auth aborted"},
    };
    for (const Row& row : rows) {
        SmtpPeer server(row.server);
        outcome = Outcome{};
        Aim(server.Port());
        mail.UseAuthentication = true;
        mail.Username = "mailer";
        mail.Password = row.password;
        mail.Send();
        EXPECT_TRUE(outcome.Saw(row.status)) << row.status;
        if (row.failure.empty()) {
            EXPECT_EQ(outcome.successes, 1) << row.status;
            EXPECT_EQ(server.Received(), 1);
        } else {
            ASSERT_EQ(outcome.failures.size(), 1u) << row.failure;
            EXPECT_EQ(outcome.failures[0].rfind(row.failure, 0), 0u) << outcome.failures[0];
            EXPECT_EQ(server.Received(), 0);
        }
    }
}

TEST_F(SendMailTest, StartTlsBeforeLoginWhenOffered)
{
    SmtpPeer server({"mailer", "s3cret", true});
    Aim(server.Port());
    mail.UseAuthentication = true;
    mail.Username = "mailer";
    mail.Password = "s3cret";

    // A certificate nobody vouches for ends the send before the login.
    mail.Send();
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_FALSE(outcome.Saw("Sending Login Authentication..."));

    QSslConfiguration trusted = QSslConfiguration::defaultConfiguration();
    const QSslConfiguration original = trusted;
    trusted.addCaCertificates(QSslCertificate::fromPath(QString::fromStdString(server.Certificate())));
    QSslConfiguration::setDefaultConfiguration(trusted);
    outcome = Outcome{};
    mail.Send();
    QSslConfiguration::setDefaultConfiguration(original);
    EXPECT_EQ(outcome.failures, std::vector<std::string>());
    EXPECT_TRUE(outcome.Saw("Host Login OK!"));
    EXPECT_EQ(server.Received(), 1);
}

TEST_F(SendMailTest, PopBeforeSmtp)
{
    const std::string missing = MissingMailPeers(true);
    if (!missing.empty())
        GTEST_SKIP() << missing;
    SmtpPeer server;
    Pop3Peer pop3("popper", "pop-pass");
    Aim(server.Port());
    mail.UsePopAuthentication = true;
    mail.SetPOP3Host("127.0.0.1");
    mail.POP3Port = pop3.Port();
    mail.Username = "popper";

    mail.Password = "wrong";
    mail.Send();
    ASSERT_EQ(outcome.failures, std::vector<std::string>{"-ERR [AUTH] Authentication failed.\r\n"});
    EXPECT_FALSE(outcome.Saw("Connecting to SMTP Server (127.0.0.1)..."));

    outcome = Outcome{};
    mail.Password = "pop-pass";
    mail.Send();
    EXPECT_EQ(outcome.failures, std::vector<std::string>());
    EXPECT_TRUE(outcome.Saw("POP3 Authentication Successful..."));
    EXPECT_EQ(server.Received(), 1);
}

TEST_F(SendMailTest, SeveralMessagesOnOneConnection)
{
    SmtpPeer server;
    Aim(server.Port());
    ASSERT_TRUE(mail.Connect());
    mail.Send();
    mail.Subject = "Second";
    mail.Send();
    EXPECT_FALSE(outcome.Saw("Closing Connection..."));
    mail.Disconnect();
    EXPECT_EQ(outcome.successes, 2);
    EXPECT_EQ(std::count(outcome.statuses.begin(), outcome.statuses.end(), "Connecting to SMTP Server (127.0.0.1)..."), 1);
    ASSERT_EQ(server.Received(), 2);
    EXPECT_EQ(Header(server.Read(2), "subject"), "Second");
}

TEST_F(SendMailTest, SilentServerTimesOut)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    Aim(ntohs(address.sin_port));
    mail.ConnectTimeout = 1;
    mail.Send();
    close(listener);
    EXPECT_EQ(outcome.failures,
              std::vector<std::string>{"Timeout occurred: The SMTP Host did not respond to the request\r\n"});
}

TEST_F(SendMailTest, PropertyChecksFailTheSendBeforeConnecting)
{
    const std::string file = MakeFile("here.txt", 3);
    struct Row {
        std::function<void(qvSendMail&)> set;
        std::string explanation;
    } rows[] = {
        {[](qvSendMail& m) { m.SetSMTPPort(70000); EXPECT_EQ(m.SMTPPort(), 25); }, "Invalid Remote Port\r\n"},
        {[](qvSendMail& m) { m.SetSMTPPort(0); m.SetSMTPPort(26); m.SetRecipient(""); },
         "No Recipient E-mail Address Specified\r\n"},
        {[](qvSendMail& m) { m.SetRecipient("bad@host.xyz"); m.SetRecipient("good@host.com"); m.SetFrom(""); },
         "Missing or Invalid Sender E-mail Address\r\n"},
        {[](qvSendMail& m) { m.SetFrom("nobody"); m.SetCcRecipient("x@y.zzz"); },
         "Missing or Invalid Sender E-mail Address\r\nInvalid Cc: Recipient E-mail Address\r\n"},
        {[](qvSendMail& m) { m.SetBccRecipient("a@b@c.com"); }, "Invalid Bcc: Recipient E-mail Address\r\n"},
        {[](qvSendMail& m) { m.AsHTML = true; m.EncodeType = UU_ENCODE; }, "Sending HTML requires MIME encoding\r\n"},
        {[&](qvSendMail& m) { m.SetAttachment(file + ";/no/such/file"); },
         "The file you tried to attach does not exist\r\n"},
        {[](qvSendMail& m) {
             std::string many;
             for (int i = 0; i < 101; ++i)
                 many += "r" + std::to_string(i) + "@velloran.com;";
             m.SetRecipient(many);
         },
         "Too many recipients\r\n"},
        {[](qvSendMail& m) { m.SetSMTPHostValidation(VALIDATE_HOST_SYNTAX); m.SetSMTPHost("localhost"); },
         "Invalid or Missing SMTP Host Name\r\n"},
    };
    for (const Row& row : rows) {
        qvSendMail m;
        Outcome seen;
        QObject::connect(&m, &qvSendMail::SendFailed, [&](const std::string& e) { seen.failures.push_back(e); });
        m.SetFrom("sender@velloran.com");
        m.SetRecipient("to@velloran.com");
        m.SetSMTPHost("192.0.2.1");  // never reached: every row fails before connecting
        row.set(m);
        m.Send();
        EXPECT_EQ(seen.failures, std::vector<std::string>{row.explanation});
    }
}

TEST_F(SendMailTest, FactoryHandsOutTheSenderWithItsEvents)
{
    const std::shared_ptr<ClassLibObject> object = ClassLibrary::CreateObject("qvSendMail");
    auto* sender = dynamic_cast<qvSendMail*>(object.get());
    ASSERT_NE(sender, nullptr);
    const QMetaObject* meta = sender->metaObject();
    for (const char* signal : {"SendSuccess()", "SendFailed(std::string)", "Status(std::string)", "Progress(int32_t)"})
        EXPECT_GE(meta->indexOfSignal(QMetaObject::normalizedSignature(signal)), 0) << signal;
    std::string failure;
    QObject::connect(sender, &qvSendMail::SendFailed, [&](const std::string& e) { failure = e; });
    sender->Send();
    EXPECT_EQ(failure, "Missing or Invalid Sender E-mail Address\r\nNo Recipient E-mail Address Specified\r\n");
}

// A program without an event loop: the socket's own waits carry the send.
TEST(SendMailWithoutApplication, Delivers)
{
    const std::string missing = MissingMailPeers(false);
    if (!missing.empty() || QCoreApplication::instance() != nullptr)
        GTEST_SKIP() << (missing.empty() ? "an application object exists" : missing);
    SmtpPeer server({"mailer", "s3cret"});
    qvSendMail mail;
    int successes = 0;
    QObject::connect(&mail, &qvSendMail::SendSuccess, [&] { ++successes; });
    mail.SetSMTPHost("127.0.0.1");
    mail.SetSMTPPort(server.Port());
    mail.SetFrom("sender@velloran.com");
    mail.SetRecipient("to@velloran.com");
    mail.UseAuthentication = true;
    mail.Username = "mailer";
    mail.Password = "s3cret";
    mail.SetMessage("No loop here.");
    mail.Send();
    EXPECT_EQ(successes, 1);
    EXPECT_EQ(server.Received(), 1);
}
