// UploadCommand: the upload of a local tree to an FTP server folder.
#include "app/cli/UploadCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/cli/FtpTarget.h"
#include "app/engine/SyncActions.h"

namespace velloran::cli {

std::string UploadCommand::Description() const
{
    return "Upload LOCAL to the FTP server folder URL (see \"FTP\" below): files missing on the server or more "
           "than the FTP tolerance newer in LOCAL are sent and stamped with their local time, missing folders "
           "are made first. Files newer on the server are kept; the same time with another size is kept and "
           "logged as a warning. The first failed transfer ends the upload.";
}

std::vector<OptionSpec> UploadCommand::Options() const
{
    std::vector<OptionSpec> options = FtpTarget::Options(true);
    options.push_back({"connections", "N",
                       "FTP: send up to N files at once, each over a session of its own (1 to 8; the "
                       "setting FTPConnections when not given)"});
    return options;
}

int UploadCommand::Execute(CliSession& session)
{
    const std::vector<std::string>& operands = session.Arguments().Operands();
    if (!FtpTarget::IsUrl(operands[1]))
        throw UsageError("upload sends to an FTP server: URL is ftp://[user[:password]@]host[:port]/dir/ "
                         "(or ftpes://, ftps://, sftp://)");
    if (!session.UseSides(operands[0], operands[1]))
        return kExitError;
    const FtpSiteFields site = session.Host().FtpSite();
    return session.RunOperation([&] { return session.Sync().DoCopyFTP(); },
                                operands[0] + " " + SyncActions::Tag(0) + " " + site.Server + " in directory " +
                                    site.FTPDirs.front());
}

}  // namespace velloran::cli
