// Real mail peers for the mail sender's tests, each on 127.0.0.1 in a folder
// of its own and stopped with everything it wrote when the object goes:
// aiosmtpd (SMTP, optionally AUTH LOGIN and STARTTLS), dovecot (POP3) and
// dnsmasq (DNS with MX records). Constructors throw std::runtime_error when
// the peer does not come up.
#pragma once

#include "tests/support/PeerProcess.h"
#include "tests/support/TempDir.h"

#include <QJsonObject>

#include <memory>
#include <string>
#include <vector>

namespace velloran::test {

// Why the SMTP peer (and with popAndDns the POP3 and DNS peers too) cannot
// run here; empty when they can.
std::string MissingMailPeers(bool popAndDns);

struct SmtpPeerOptions {
    std::string user;  // AUTH LOGIN required with these when set
    std::string password;
    bool tls = false;  // STARTTLS offered and required
    std::string prompt = "Username:";
};

class SmtpPeer {
public:
    explicit SmtpPeer(const SmtpPeerOptions& options = {});
    int Port() const { return m_port; }
    // The certificate the server shows, for the client to trust.
    std::string Certificate() const { return m_dir / "cert.pem"; }
    int Received() const;
    // Sender, then recipients, of the n-th message (from 1).
    std::vector<std::string> Envelope(int n) const;
    std::string RawMessage(int n) const;
    // The n-th message as the recipient's mail program reads it.
    QJsonObject Read(int n) const;

private:
    TempDir m_dir{"smtp"};
    int m_port = 0;
    std::unique_ptr<PeerProcess> m_process;
};

class Pop3Peer {
public:
    Pop3Peer(const std::string& user, const std::string& password);
    int Port() const { return m_port; }

private:
    TempDir m_dir{"pop3"};
    int m_port = 0;
    std::unique_ptr<PeerProcess> m_process;
};

// dnsmasq answering for the given dnsmasq --mx-host values alone (every
// other name under .test has no answer) and a resolv.conf naming it.
class DnsPeer {
public:
    explicit DnsPeer(const std::vector<std::string>& mxHosts);
    int Port() const { return m_port; }
    std::string ResolvConf() const { return m_dir / "resolv.conf"; }

private:
    TempDir m_dir{"dns"};
    int m_port = 0;
    std::unique_ptr<PeerProcess> m_process;
};

}  // namespace velloran::test
