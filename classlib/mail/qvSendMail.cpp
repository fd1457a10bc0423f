// The SMTP conversation of qvSendMail: properties and their checks, the
// connection with POP before SMTP, STARTTLS and AUTH LOGIN, the envelope,
// the data with its attachments, and the one report of a failure.
#include "classlib/mail/qvSendMail.h"

#include "classlib/mail/HostChecks.h"
#include "classlib/mail/IcmpPing.h"
#include "classlib/mail/MailEncoder.h"
#include "classlib/mail/modMXQuery.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QSslConfiguration>
#include <QSslSocket>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <thread>

namespace quorvantell {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kBadSender = "Missing or Invalid Sender E-mail Address";
constexpr const char* kBadRecipient = "Missing or Invalid Recipient E-mail Address";
constexpr const char* kBadCc = "Invalid Cc: Recipient E-mail Address";
constexpr const char* kBadBcc = "Invalid Bcc: Recipient E-mail Address";
constexpr const char* kNoFile = "The file you tried to attach does not exist";
constexpr const char* kBadSmtpHost = "Invalid or Missing SMTP Host Name";
constexpr const char* kBadPop3Host = "Invalid or Missing POP3 Host Name";
constexpr const char* kBadPort = "Invalid Remote Port";
constexpr const char* kTimeout = "Timeout occurred: The SMTP Host did not respond to the request";
constexpr const char* kLoginFailed = "Host Login Failed!";
constexpr size_t kChunk = 11400;
constexpr size_t kUuLine = 45;
constexpr int64_t kQueueLimit = 4096;
constexpr int kPollMs = 10;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trim(const std::string& text, const char* blanks = " ")
{
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string> Split(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> parts;
    if (delimiter.empty())
        return {text};
    size_t start = 0;
    for (size_t at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string WithoutTrailingLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string SenderDomain(const std::string& from)
{
    const size_t at = from.find('@');
    return at == std::string::npos ? std::string() : from.substr(at + 1);
}

long LocalOffsetSeconds()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}

}  // namespace

qvSendMail::qvSendMail() : m_socket(std::make_unique<QSslSocket>()), m_zone(MailComposer::TimeZoneOffsetText(LocalOffsetSeconds()))
{
    connect(m_socket.get(), &QAbstractSocket::connected, this, [this] { m_flags.connected = true; });
    connect(m_socket.get(), &QAbstractSocket::disconnected, this, [this] { m_flags.connected = false; });
    connect(m_socket.get(), &QIODevice::readyRead, this, &qvSendMail::OnData);
    connect(m_socket.get(), &QIODevice::bytesWritten, this, &qvSendMail::OnBytesWritten);
    connect(m_socket.get(), &QSslSocket::encrypted, this, [this] { m_flags.encrypted = true; });
    connect(m_socket.get(), &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) { OnError(error); });
}

qvSendMail::~qvSendMail()
{
    m_socket->disconnect(this);
    m_socket->abort();
}

// ---- properties -----------------------------------------------------------

void qvSendMail::SetFrom(const std::string& value)
{
    m_from = MailEncoder::StripLineBreaks(Trim(value));
    RemoveError(kBadSender);
    if (EmailAddressValidation == VALIDATE_SYNTAX && !IsValidEmailAddress(m_from))
        AddError(kBadSender);
}

std::vector<std::string> qvSendMail::SplitAddresses(const std::string& list) const
{
    std::vector<std::string> addresses;
    for (std::string part : Split(list, Delimiter)) {
        std::erase_if(part, [](char c) { return c == '\r' || c == '\n' || c == '\t'; });
        part = Trim(part);
        if (!part.empty())
            addresses.push_back(part);
    }
    return addresses;
}

bool qvSendMail::ValidateList(const std::string& list, const std::string& message)
{
    RemoveError(message);
    const std::vector<std::string> addresses = SplitAddresses(list);
    const bool valid = EmailAddressValidation != VALIDATE_SYNTAX ||
                       std::all_of(addresses.begin(), addresses.end(),
                                   [this](const std::string& a) { return IsValidEmailAddress(a); });
    if (!valid)
        AddError(message);
    return valid;
}

void qvSendMail::SetRecipient(const std::string& value)
{
    m_recipient = value;
    ValidateList(value, kBadRecipient);
    m_to = SplitAddresses(value);
}

void qvSendMail::SetCcRecipient(const std::string& value)
{
    m_ccRecipient = value;
    ValidateList(value, kBadCc);
    m_cc = SplitAddresses(value);
}

void qvSendMail::SetBccRecipient(const std::string& value)
{
    m_bccRecipient = value;
    ValidateList(value, kBadBcc);
    m_bcc = SplitAddresses(value);
}

void qvSendMail::SetAttachment(const std::string& value)
{
    m_attachment = value;
    m_files.clear();
    RemoveError(kNoFile);
    for (const std::string& part : Split(value, Delimiter)) {
        const std::string path = Trim(part);
        if (path.empty())
            continue;
        struct stat st{};
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            AddError(kNoFile);
            continue;
        }
        m_files.push_back(MailAttachment{path, path.substr(path.rfind('/') + 1), st.st_size, false});
    }
}

void qvSendMail::SetMessage(const std::string& value)
{
    m_message = value;
    m_body = MailComposer::PrepareBody(MailEncoder::ToLatin1(value));
}

void qvSendMail::SetContentBase(const std::string& value)
{
    m_contentBase = MailComposer::NormalizeContentBase(value);
}

bool qvSendMail::ValidHost(const std::string& host) const
{
    if (host.empty())
        return false;
    switch (m_hostValidation) {
    case VALIDATE_HOST_SYNTAX:
        return HostChecks::IsValidHostName(host);
    case VALIDATE_HOST_PING: {
        std::string address = host;
        return Ping(address);
    }
    case VALIDATE_HOST_DNS:
        return !GetIPAddress(host).empty();
    default:
        return true;
    }
}

void qvSendMail::SetSMTPHost(const std::string& value)
{
    std::string host = value;
    std::erase(host, '\0');
    RemoveError(kBadSmtpHost);
    if (ValidHost(host))
        m_smtpHost = host;
    else
        AddError(kBadSmtpHost);
}

void qvSendMail::SetPOP3Host(const std::string& value)
{
    std::string host = value;
    std::erase(host, '\0');
    RemoveError(kBadPop3Host);
    if (ValidHost(host))
        m_pop3Host = host;
    else
        AddError(kBadPop3Host);
}

void qvSendMail::SetSMTPHostValidation(VALIDATE_HOST_METHOD value)
{
    m_hostValidation = value;
    if (!m_smtpHost.empty())
        SetSMTPHost(m_smtpHost);
}

void qvSendMail::SetSMTPPort(int32_t value)
{
    if (value < 1 || value > 65535) {
        AddError(kBadPort);
        return;
    }
    m_smtpPort = value;
    RemoveError(kBadPort);
}

void qvSendMail::SetPriority(int32_t value)
{
    if (value == HIGH_PRIORITY || value == NORMAL_PRIORITY || value == LOW_PRIORITY)
        m_priority = static_cast<MAIL_PRIORITY>(value);
}

// ---- look-ups ---------------------------------------------------------------

std::string qvSendMail::GetContentType(const std::string& strFile, const std::string& strDefault) const
{
    return MailComposer::ContentType(m_registry, strFile, strDefault);
}

std::string qvSendMail::GetIPAddress(const std::string& sHostName) const
{
    return HostChecks::GetIPAddress(sHostName);
}

std::string qvSendMail::GetIPHost() const
{
    return HostChecks::GetIPHost();
}

bool qvSendMail::IsValidEmailAddress(const std::string& AddressString) const
{
    return HostChecks::IsValidEmailAddress(AddressString);
}

std::string qvSendMail::MXQuery(const std::string& IPDomain)
{
    emit Status(IPDomain.empty() ? "Performing MX Query" : "Performing MX Query, Domain: " + IPDomain);
    try {
        return modMXQuery::MXQuery(IPDomain, std::max(1, MessageTimeout) * 1000);
    } catch (const std::exception& error) {
        emit Status(error.what());
        return std::string();
    }
}

bool qvSendMail::Ping(std::string& Address, std::string* RoundTripTime, std::string* DataSize, bool* DataMatch) const
{
    std::string time, size;
    bool match = false;
    const bool ok = IcmpPing::Ping(Address, time, size, match);
    if (RoundTripTime != nullptr)
        *RoundTripTime = time;
    if (DataSize != nullptr)
        *DataSize = size;
    if (DataMatch != nullptr)
        *DataMatch = match;
    return ok;
}

std::string qvSendMail::DecodeBase64String(const std::string& str2Decode) const
{
    return MailEncoder::DecodeBase64(str2Decode);
}

// ---- errors and waits -------------------------------------------------------

void qvSendMail::AddError(const std::string& text)
{
    if (std::find(m_errors.begin(), m_errors.end(), text) == m_errors.end())
        m_errors.push_back(text);
}

void qvSendMail::RemoveError(const std::string& text)
{
    std::erase(m_errors, text);
}

void qvSendMail::FailSend()
{
    std::string explanation;
    for (const std::string& error : m_errors)
        explanation += error + "\r\n";
    m_errors.clear();
    m_abort = true;
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->abort();
    emit SendFailed(explanation);
}

// A failure already reported stays the only report.
void qvSendMail::ReportTimeout()
{
    if (m_abort)
        return;
    AddError(kTimeout);
    FailSend();
}

bool qvSendMail::Wait(const bool& flag, int32_t seconds, bool reportTimeout)
{
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        if (flag)
            return true;
        if (Clock::now() >= deadline) {
            if (reportTimeout)
                ReportTimeout();
            return false;
        }
        if (m_abort)
            return false;
        Poll();
    }
}

// One turn of about 10 ms: the event loop runs, socket events included.
// Without an application object there is no loop, and the socket's own
// waits move it on instead (a connection attempt is waited for whole, as a
// shorter wait would give it up).
void qvSendMail::Poll()
{
    if (QCoreApplication::instance() != nullptr) {
        QEventLoop loop;
        QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
        loop.exec();
        return;
    }
    switch (m_socket->state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        m_socket->waitForConnected(std::max(1, ConnectTimeout) * 1000);
        break;
    case QAbstractSocket::ConnectedState:
        if (m_socket->isEncrypted() || m_socket->mode() == QSslSocket::UnencryptedMode)
            m_socket->waitForReadyRead(kPollMs);
        else
            m_socket->waitForEncrypted(kPollMs);
        break;
    default:
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}

void qvSendMail::Write(const std::string& bytes)
{
    m_socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

int64_t qvSendMail::Queued() const
{
    return m_socket->bytesToWrite() + m_socket->encryptedBytesToWrite();
}

// ---- socket events ----------------------------------------------------------

void qvSendMail::OnData()
{
    const QByteArray bytes = m_socket->readAll();
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    m_reader.Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    MailReply reply;
    while (!m_abort && m_reader.Next(reply))
        HandleReply(reply);
}

void qvSendMail::HandleReply(const MailReply& reply)
{
    const std::string& code = reply.code;
    if (code == "220" || code == "221" || code == "251") {
        m_flags.replied = true;
    } else if (code == "250") {
        m_flags.replied = true;
        const std::string lower = Lower(reply.text);
        if (lower.find("auth") != std::string::npos && lower.find("login") != std::string::npos)
            m_flags.loginOffered = true;
        if (lower.find("starttls") != std::string::npos)
            m_flags.tlsOffered = true;
    } else if (code == "235") {
        m_flags.loginAccepted = true;
    } else if (code == "334") {
        AnswerPrompt(reply.text);
    } else if (code == "354") {
        m_flags.dataReady = true;
    } else if (code == "211" || code == "214") {
    } else if (code == "+OK") {
        AdvancePop3();
    } else {
        if (code == "-ER") {
            m_flags.pop3Done = false;
            m_pop3Step = 0;
        }
        AddError(WithoutTrailingLineEnd(reply.text));
        FailSend();
    }
}

void qvSendMail::AnswerPrompt(const std::string& text)
{
    const std::string prompt = Lower(DecodeBase64String(Trim(WithoutTrailingLineEnd(text.substr(3)))));
    // "Username:" is the usual prompt; some servers write "User Name".
    if (prompt.find("username") != std::string::npos || prompt.find("user name") != std::string::npos)
        Write(MailEncoder::Base64Text(Username) + "\r\n");
    else if (prompt.find("password") != std::string::npos)
        Write(MailEncoder::Base64Text(Password) + "\r\n");
    else
        Write("*\r\n");
}

void qvSendMail::AdvancePop3()
{
    switch (m_pop3Step) {
    case 0:
        Write("USER " + MailEncoder::StripLineBreaks(Username) + "\r\n");
        break;
    case 1:
        Write("PASS " + MailEncoder::StripLineBreaks(Password) + "\r\n");
        break;
    case 2:
        Write("QUIT\r\n");
        break;
    default:
        m_flags.pop3Done = true;
    }
    m_pop3Step = (m_pop3Step + 1) % 4;
}

void qvSendMail::OnError(int socketError)
{
    // A server that hangs up closes the connection; that is no failure in
    // itself. A short wait of Poll that ends without news is none either.
    if (socketError == QAbstractSocket::RemoteHostClosedError) {
        m_flags.connected = false;
        return;
    }
    if (socketError == QAbstractSocket::SocketTimeoutError)
        return;
    AddError(m_socket->errorString().toStdString());
    FailSend();
}

void qvSendMail::OnBytesWritten(int64_t bytes)
{
    m_bytesSent += bytes;
    m_flags.progressSeen = true;
    const int32_t percent =
        m_estimate > 0 ? static_cast<int32_t>(std::min<int64_t>(100, (m_bytesSent * 100 + m_estimate / 2) / m_estimate)) : 0;
    if (percent != m_lastPercent && m_socket->state() == QAbstractSocket::ConnectedState) {
        m_lastPercent = percent;
        emit Progress(percent);
    }
}

// ---- connection -------------------------------------------------------------

bool qvSendMail::Connect()
{
    m_keepConnection = true;
    return ConnectProcedure();
}

void qvSendMail::Disconnect()
{
    m_keepConnection = false;
    Close();
}

bool qvSendMail::ConnectProcedure()
{
    try {
        if (m_socket->state() == QAbstractSocket::ConnectedState)
            return true;
        m_socket->abort();
        const std::string host = m_smtpHost.empty() ? MXQuery() : m_smtpHost;
        if (host.empty()) {
            AddError(kBadSmtpHost);
            return false;
        }
        if (UsePopAuthentication && !PopBeforeSmtp())
            return false;
        m_flags = Flags{};
        m_abort = false;
        m_reader.Clear();
        m_socket->abort();
        emit Status("Connecting to SMTP Server (" + host + ")...");
        return ConnectAttempts(host, m_smtpPort) && Greet() && StartTls() && Login();
    } catch (const std::exception& error) {
        emit Status(std::string("Connect error: ") + error.what());
        return false;
    }
}

bool qvSendMail::PopBeforeSmtp()
{
    emit Status("Connecting to POP3 Server (" + m_pop3Host + ")...");
    m_abort = false;
    m_flags = Flags{};
    m_pop3Step = 0;
    m_reader.Clear();
    if (m_pop3Host.empty()) {
        AddError(kBadPop3Host);
        FailSend();
        return false;
    }
    if (!ConnectAttempts(m_pop3Host, POP3Port))
        return false;
    // A POP3 server that never finishes is a failure, not a login.
    const bool done = Wait(m_flags.pop3Done, ConnectTimeout, true);
    m_socket->abort();
    if (m_abort || !done)
        return false;
    emit Status("POP3 Authentication Successful...");
    return true;
}

bool qvSendMail::ConnectAttempts(const std::string& host, int32_t port)
{
    for (int32_t attempt = 0; attempt < ConnectRetry; ++attempt) {
        if (m_socket->state() == QAbstractSocket::ConnectedState) {
            m_flags.connected = true;
            break;
        }
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            m_socket->connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
        if (Wait(m_flags.connected, ConnectTimeout, false))
            break;
        if (m_abort)
            return false;
        m_socket->abort();
        Poll();
    }
    if (m_socket->state() != QAbstractSocket::ConnectedState || !m_flags.connected) {
        ReportTimeout();
        return false;
    }
    return true;
}

bool qvSendMail::Greet()
{
    if (!Wait(m_flags.replied, ConnectTimeout, false) || m_abort ||
        m_socket->state() != QAbstractSocket::ConnectedState || !m_flags.connected) {
        ReportTimeout();
        return false;
    }
    emit Status("Initializing Communications...");
    m_flags.replied = false;
    Write((UseAuthentication ? "EHLO " : "HELO ") + SenderDomain(m_from) + "\r\n");
    return Wait(m_flags.replied, ConnectTimeout, true);
}

// With EHLO a server may offer TLS; the login then crosses it encrypted.
bool qvSendMail::StartTls()
{
    if (!UseAuthentication || !m_flags.tlsOffered || m_socket->isEncrypted())
        return true;
    m_flags.replied = false;
    Write("STARTTLS\r\n");
    if (!Wait(m_flags.replied, ConnectTimeout, true))
        return false;
    m_reader.Clear();
    // The trust settings as they stand now, not as they were at creation.
    m_socket->setSslConfiguration(QSslConfiguration::defaultConfiguration());
    m_socket->startClientEncryption();
    if (!Wait(m_flags.encrypted, ConnectTimeout, true))
        return false;
    m_flags.replied = m_flags.loginOffered = m_flags.tlsOffered = false;
    Write("EHLO " + SenderDomain(m_from) + "\r\n");
    return Wait(m_flags.replied, ConnectTimeout, true);
}

bool qvSendMail::Login()
{
    if (!UseAuthentication)
        return true;
    if (!Wait(m_flags.loginOffered, 5, false)) {
        emit Status("Login Not Supported by Host, Continuing...");
        return !m_abort;
    }
    emit Status("Sending Login Authentication...");
    // The mechanism's registered name; some servers take no other spelling.
    Write("AUTH LOGIN\r\n");
    if (!Wait(m_flags.loginAccepted, 5, false)) {
        emit Status(kLoginFailed);
        // A refusal has been reported with the server's text; silence has not.
        if (!m_abort) {
            AddError(kLoginFailed);
            FailSend();
        }
        return false;
    }
    emit Status("Host Login OK!");
    return true;
}

void qvSendMail::Close()
{
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        return;
    emit Status("Closing Connection...");
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_flags.replied = false;
        Write("QUIT\r\n");
        Wait(m_flags.replied, 2, false);
    }
    m_socket->abort();
    Poll();
}

// ---- sending ----------------------------------------------------------------

bool qvSendMail::SendChecks()
{
    if (m_from.empty())
        AddError(kBadSender);
    if (AsHTML && EncodeType == UU_ENCODE)
        AddError("Sending HTML requires MIME encoding");
    const size_t count = m_to.size() + m_cc.size() + m_bcc.size();
    if (count == 0)
        AddError("No Recipient E-mail Address Specified");
    if (count > static_cast<size_t>(std::max(0, MaxRecipients)))
        AddError("Too many recipients");
    if (m_errors.empty())
        return true;
    FailSend();
    return false;
}

void qvSendMail::Send()
{
    try {
        if (!SendChecks())
            return;
        m_estimate = EstimateSize();
        m_bytesSent = 0;
        m_lastPercent = -1;
        m_abort = false;
        if (m_socket->state() != QAbstractSocket::ConnectedState && !ConnectProcedure()) {
            if (!m_abort && !m_errors.empty())
                FailSend();
            return;
        }
        if (!SendEnvelope() || !SendData())
            return;
        emit Progress(100);
        emit Status("Transmission Complete...");
        if (!m_keepConnection)
            Close();
        emit SendSuccess();
    } catch (const std::exception& error) {
        AddError(error.what());
        FailSend();
    }
}

bool qvSendMail::SendEnvelope()
{
    emit Status("Sending Sender Information...");
    m_flags.replied = false;
    Write("MAIL FROM: <" + MailEncoder::ToLatin1(m_from) + ">\r\n");
    if (!Wait(m_flags.replied, MessageTimeout, true) || m_abort)
        return false;
    emit Status("Sending Recipient Information...");
    for (const std::vector<std::string>* list : {&m_to, &m_cc, &m_bcc}) {
        for (const std::string& address : *list) {
            m_flags.replied = false;
            Write("RCPT TO: <" + MailEncoder::ToLatin1(address) + ">\r\n");
            if (!Wait(m_flags.replied, MessageTimeout, true) || m_abort)
                return false;
        }
    }
    return true;
}

bool qvSendMail::SendData()
{
    emit Status("Sending Message...");
    m_flags.dataReady = false;
    Write("DATA\r\n");
    if (!Wait(m_flags.dataReady, MessageTimeout, true))
        return false;
    std::vector<MailAttachment> files = m_files;
    const bool mime = EncodeType == MIME_ENCODE;
    std::string body = m_body.text;
    const bool related = mime && AsHTML && !files.empty() && MailComposer::EmbedReferences(body, files);
    const std::string boundary = MailComposer::Boundary([] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    }());
    Write(ComposeHeader(boundary, related) + body + "\r\n" + (files.empty() ? "" : "\r\n"));
    for (MailAttachment& file : files) {
        if (!SendAttachment(file, boundary, related) || m_abort || !DrainQueue())
            return false;
    }
    if (mime && !files.empty())
        Write("--" + boundary + "--\r\n");
    m_flags.replied = false;
    Write(".\r\n");
    return Wait(m_flags.replied, MessageTimeout, true);
}

std::string qvSendMail::ComposeHeader(const std::string& boundary, bool related)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::vector<std::string> toNames = Split(MailEncoder::ToLatin1(RecipientDisplayName), Delimiter);
    std::vector<std::string> ccNames = Split(MailEncoder::ToLatin1(CcDisplayName), Delimiter);
    toNames.resize(m_to.size());
    ccNames.resize(m_cc.size());
    const auto latin1 = [](const std::vector<std::string>& list) {
        std::vector<std::string> out;
        for (const std::string& item : list)
            out.push_back(MailEncoder::ToLatin1(item));
        return out;
    };
    std::string host = HostChecks::ReverseLookup(m_socket->localAddress().toString().toStdString());
    if (host.empty())
        host = m_socket->peerName().toStdString();

    MailHeaderFields fields;
    fields.messageId = MailComposer::MessageId(std::chrono::system_clock::now(), host);
    fields.senderEntry = MailComposer::AddressEntry(MailEncoder::ToLatin1(FromDisplayName), MailEncoder::ToLatin1(m_from));
    fields.toList = MailComposer::AddressList(latin1(m_to), toNames);
    fields.ccList = MailComposer::AddressList(latin1(m_cc), ccNames);
    fields.subject = MailComposer::EncodeHeaderValue(MailEncoder::ToLatin1(Subject), false);
    fields.replyTo = MailEncoder::ToLatin1(ReplyToAddress);
    fields.date = MailComposer::DateText(local, m_zone);
    fields.mime = EncodeType == MIME_ENCODE;
    fields.priority = m_priority;
    fields.receipt = Receipt;
    fields.multipart = !m_files.empty();
    fields.related = related;
    fields.boundary = boundary;
    fields.html = AsHTML;
    fields.eightBit = m_body.eightBit;
    fields.contentBase = m_contentBase;
    return MailComposer::HeaderBlock(fields);
}

bool qvSendMail::SendAttachment(MailAttachment& file, const std::string& boundary, bool related)
{
    emit Status(std::string(file.embedded ? "Sending Embedded File, " : "Sending Attachment, ") + file.name + "...");
    std::ifstream in(file.path, std::ios::binary);
    if (!in) {
        AddError(kNoFile);
        FailSend();
        return false;
    }
    const bool mime = EncodeType == MIME_ENCODE;
    const std::string name = MailEncoder::ToLatin1(file.name);
    if (mime)
        Write(MailComposer::AttachmentHeader(MailAttachment{file.path, name, file.size, file.embedded},
                                             GetContentType(file.name), boundary, related));
    else
        Write("begin 600 " + MailEncoder::StripLineBreaks(name) + "\r\n");
    std::string chunk(mime ? kChunk : kUuLine * 50, '\0');
    while (!m_abort) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<size_t>(in.gcount());
        if (got == 0)
            break;
        std::string_view data(chunk.data(), got);
        if (mime) {
            m_flags.progressSeen = false;
            Write(MailEncoder::Base64Lines(data));
            Wait(m_flags.progressSeen, 2, false);
        } else {
            std::string lines;
            for (size_t i = 0; i < data.size(); i += kUuLine)
                lines += MailEncoder::UuencodeLine(data.substr(i, kUuLine));
            Write(lines);
            Poll();
        }
    }
    // The empty line closes the part; uudecode needs the zero-length line.
    Write(mime ? "\r\n" : "`\r\nend\r\n");
    return !m_abort;
}

// Waits while the socket holds more than a few kilobytes, as long as it
// keeps draining.
bool qvSendMail::DrainQueue()
{
    while (Queued() > kQueueLimit && !m_abort) {
        const int64_t before = Queued();
        const auto deadline = Clock::now() + std::chrono::seconds(MessageTimeout);
        while (Queued() == before && !m_abort) {
            if (Clock::now() >= deadline) {
                ReportTimeout();
                return false;
            }
            Poll();
        }
    }
    return !m_abort;
}

int64_t qvSendMail::EstimateSize() const
{
    int64_t size = 1024 + static_cast<int64_t>(m_body.text.size() + Subject.size() + m_from.size());
    for (const std::vector<std::string>* list : {&m_to, &m_cc, &m_bcc}) {
        for (const std::string& address : *list)
            size += 2 * static_cast<int64_t>(address.size()) + 16;
    }
    for (const MailAttachment& file : m_files)
        size += file.size * 4 / 3 + file.size / 38 + 300;
    return size;
}

}  // namespace quorvantell
