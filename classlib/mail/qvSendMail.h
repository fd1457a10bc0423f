// qvSendMail: sends one e-mail message, with attachments, to an SMTP server,
// optionally after a POP3 login (POP before SMTP) and with AUTH LOGIN; the
// caller follows the send through the signals Status, Progress, SendSuccess
// and SendFailed. Everything runs on the caller's thread: the waits poll the
// socket and let the event loop run, so a window stays alive meanwhile.
// Replies are read as whole lines (multi-line replies included); a server
// that offers STARTTLS after EHLO is switched to TLS before the login.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/general/CRegistry.h"
#include "classlib/mail/MailComposer.h"
#include "classlib/mail/SmtpReplyReader.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QSslSocket;

namespace quorvantell {

enum ENCODE_METHOD : int32_t { MIME_ENCODE = 0, UU_ENCODE = 1 };
enum MAIL_PRIORITY : int32_t { HIGH_PRIORITY = 1, NORMAL_PRIORITY = 3, LOW_PRIORITY = 5 };
enum VALIDATE_HOST_METHOD : int32_t {
    VALIDATE_HOST_NONE = 0,
    VALIDATE_HOST_SYNTAX = 1,
    VALIDATE_HOST_PING = 2,
    VALIDATE_HOST_DNS = 3
};
enum VALIDATE_METHOD : int32_t { VALIDATE_NONE = 0, VALIDATE_SYNTAX = 1 };

class qvSendMail : public QObject, public ClassLibObject {
    Q_OBJECT

public:
    qvSendMail();
    ~qvSendMail() override;

    // Plain properties: read when the message is sent.
    std::string FromDisplayName;
    std::string RecipientDisplayName;
    std::string CcDisplayName;
    std::string ReplyToAddress;
    std::string Subject;
    bool AsHTML = false;
    std::string Delimiter = ";";
    ENCODE_METHOD EncodeType = MIME_ENCODE;
    bool Receipt = false;
    VALIDATE_METHOD EmailAddressValidation = VALIDATE_SYNTAX;
    int32_t MaxRecipients = 100;
    int32_t ConnectTimeout = 30;  // seconds
    int32_t ConnectRetry = 4;
    int32_t MessageTimeout = 60;  // seconds
    bool UseAuthentication = false;
    bool UsePopAuthentication = false;
    int32_t POP3Port = 110;
    std::string Username;
    std::string Password;

    // Validating properties: a failed check puts its message in the error
    // list, which the next Send reports; a passing one takes it out again.
    const std::string& from() const { return m_from; }
    void SetFrom(const std::string& value);
    const std::string& Recipient() const { return m_recipient; }
    void SetRecipient(const std::string& value);
    const std::string& CcRecipient() const { return m_ccRecipient; }
    void SetCcRecipient(const std::string& value);
    const std::string& BccRecipient() const { return m_bccRecipient; }
    void SetBccRecipient(const std::string& value);
    const std::string& Attachment() const { return m_attachment; }
    void SetAttachment(const std::string& value);
    // The body as given; it is prepared for sending on assignment.
    const std::string& Message() const { return m_message; }
    void SetMessage(const std::string& value);
    const std::string& ContentBase() const { return m_contentBase; }
    void SetContentBase(const std::string& value);
    // An invalid host keeps the previous one.
    const std::string& SMTPHost() const { return m_smtpHost; }
    void SetSMTPHost(const std::string& value);
    const std::string& POP3Host() const { return m_pop3Host; }
    void SetPOP3Host(const std::string& value);
    VALIDATE_HOST_METHOD SMTPHostValidation() const { return m_hostValidation; }
    void SetSMTPHostValidation(VALIDATE_HOST_METHOD value);
    int32_t SMTPPort() const { return m_smtpPort; }
    void SetSMTPPort(int32_t value);
    MAIL_PRIORITY Priority() const { return m_priority; }
    void SetPriority(int32_t value);

    // Sends the message; the outcome arrives as SendSuccess or SendFailed.
    void Send();
    // Keeps the connection open across several Send calls; true when the
    // server is ready for a message.
    bool Connect();
    void Disconnect();

    std::string GetContentType(const std::string& strFile,
                               const std::string& strDefault = "application/octet-stream") const;
    std::string GetIPAddress(const std::string& sHostName) const;
    std::string GetIPHost() const;
    bool IsValidEmailAddress(const std::string& AddressString) const;
    // The best exchanger of the domain; failures become a Status text and an
    // empty result.
    std::string MXQuery(const std::string& IPDomain = "");
    bool Ping(std::string& Address, std::string* RoundTripTime = nullptr, std::string* DataSize = nullptr,
              bool* DataMatch = nullptr) const;
    std::string DecodeBase64String(const std::string& str2Decode) const;

signals:
    void SendSuccess();
    void SendFailed(const std::string& Explanation);
    void Status(const std::string& Status);
    void Progress(int32_t PercentComplete);

private:
    struct Flags {
        bool replied = false;
        bool loginOffered = false;
        bool loginAccepted = false;
        bool dataReady = false;
        bool pop3Done = false;
        bool tlsOffered = false;
        bool encrypted = false;
        bool connected = false;
        bool progressSeen = false;
    };

    // The error list: each message once, in the order of arrival.
    void AddError(const std::string& text);
    void RemoveError(const std::string& text);
    void FailSend();
    void ReportTimeout();

    bool Wait(const bool& flag, int32_t seconds, bool reportTimeout);
    void Poll();
    void Write(const std::string& bytes);
    int64_t Queued() const;

    void OnData();
    void HandleReply(const MailReply& reply);
    void AnswerPrompt(const std::string& text);
    void AdvancePop3();
    void OnError(int socketError);
    void OnBytesWritten(int64_t bytes);

    bool ConnectProcedure();
    bool PopBeforeSmtp();
    bool ConnectAttempts(const std::string& host, int32_t port);
    bool Greet();
    bool StartTls();
    bool Login();
    void Close();

    bool SendChecks();
    bool SendEnvelope();
    bool SendData();
    bool SendAttachment(MailAttachment& file, const std::string& boundary, bool related);
    bool DrainQueue();
    std::string ComposeHeader(const std::string& boundary, bool related);
    int64_t EstimateSize() const;
    std::vector<std::string> SplitAddresses(const std::string& list) const;
    bool ValidateList(const std::string& list, const std::string& message);
    bool ValidHost(const std::string& host) const;

    std::unique_ptr<QSslSocket> m_socket;
    SmtpReplyReader m_reader;
    Flags m_flags;
    bool m_abort = false;
    bool m_keepConnection = false;
    int m_pop3Step = 0;
    int64_t m_bytesSent = 0;
    int64_t m_estimate = 0;
    int32_t m_lastPercent = -1;
    std::vector<std::string> m_errors;
    CRegistry m_registry;
    std::string m_zone;

    std::string m_from;
    std::string m_recipient, m_ccRecipient, m_bccRecipient;
    std::vector<std::string> m_to, m_cc, m_bcc;
    std::string m_attachment;
    std::vector<MailAttachment> m_files;
    std::string m_message;
    PreparedBody m_body;
    std::string m_contentBase;
    std::string m_smtpHost, m_pop3Host;
    VALIDATE_HOST_METHOD m_hostValidation = VALIDATE_HOST_DNS;
    int32_t m_smtpPort = 25;
    MAIL_PRIORITY m_priority = NORMAL_PRIORITY;
};

}  // namespace quorvantell
