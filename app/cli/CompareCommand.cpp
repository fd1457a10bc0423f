// CompareCommand: the comparison of two folders, as text or JSON.
#include "app/cli/CompareCommand.h"

#include "app/cli/CliSession.h"
#include "app/cli/ExitStatus.h"
#include "app/cli/FtpTarget.h"
#include "app/cli/JsonText.h"
#include "app/engine/AppError.h"
#include "app/engine/Printable.h"
#include "app/engine/ProgramInfo.h"
#include "classlib/general/CGeneral.h"

#include <algorithm>
#include <iostream>

namespace velloran::cli {

namespace {

bool HasDifference(CVellList& list)
{
    for (int32_t i = 0; i < list.nVells(); ++i)
        if (list.SyncWayAt(i) != 0)
            return true;
    return false;
}

// The "left" or "right" member of a JSON entry.
std::string JsonSide(CVellList& list, int32_t i, int32_t side, bool folder)
{
    const std::string_view name = list.FileAt(i, side);
    if (name.empty())
        return "null";
    std::string out = "{\"name\": " + JsonText::String(name);
    if (!folder)
        out += ", \"size\": " + std::to_string(list.SizeAt(i, side)) +
               ", \"filetime\": " + std::to_string(list.FileDateAt(i, side));
    return out + "}";
}

}  // namespace

std::string CompareCommand::Description() const
{
    return "Scan and compare the two folders as the details window does (the dot-file setting applies) and print "
           "the differences, folders first, then files: one line per pair with its verdict mark and path. Marks: "
           "\"L\" only left, \"R\" only right, \"L>\" left newer, \"R>\" right newer, \"!=\" same time but "
           "different size, \"=\" the same. Exit status 1 when there are differences. RIGHT may be an ftp:// "
           "address (see \"FTP\" below).";
}

std::vector<OptionSpec> CompareCommand::Options() const
{
    std::vector<OptionSpec> options = {{"all", "", "print every pair, the equal ones too"},
                                       {"json", "", "print one JSON object (see \"Names in JSON\" below)"}};
    const std::vector<OptionSpec> ftp = FtpTarget::Options(true);
    options.insert(options.end(), ftp.begin(), ftp.end());
    return options;
}

const char* CompareCommand::Mark(int32_t syncWay)
{
    static const char* const marks[] = {"=", "L", "L>", "R>", "R", "!="};
    return syncWay >= 0 && syncWay <= 5 ? marks[syncWay] : "?";
}

int CompareCommand::Execute(CliSession& session)
{
    const std::string& left = session.Arguments().Operands()[0];
    const std::string& right = session.Arguments().Operands()[1];
    if (!session.UseSides(left, right))
        return kExitError;
    CSync& sync = session.Sync();
    CliHost& host = session.Host();
    sync.progressBar = &host.ProgressBar();
    try {
        sync.ScanAndCompare(host.StatusLabel());
    } catch (const AppError& error) {
        // A failed server listing has been reported by the scan; its error
        // line says where.
        if (error.Number == AppError::kFtpError) {
            host.ShowErrorLog(sync.errLog);
            return kExitError;
        }
        if (error.Number != AppError::kCancelRequest)
            throw;
        host.ShowMessage("Cancelled by user.", kProgramTitle, quorvantell::MB_ICONINFORMATION);
        return kExitCancelled;
    }
    if (sync.modeFTP)
        sync.m_FTP.Disconnect();
    host.EndProgressLine();
    const bool all = session.Arguments().Has("all");
    if (session.Arguments().Has("json")) {
        std::cout << "{\"left\": " << JsonText::String(sync.rootFolder[0])
                  << ", \"right\": " << JsonText::String(session.RightSide()) << ", \"entries\": [";
        bool first = true;
        PrintJson(sync.m_arrDir, true, all, first);
        PrintJson(sync.m_arrFile, false, all, first);
        std::cout << (first ? "" : "\n") << "]}\n";
    } else {
        PrintText(sync.m_arrDir, all);
        PrintText(sync.m_arrFile, all);
    }
    std::cout << std::flush;
    // Server entries the scan had to skip are warning lines.
    if (!sync.errLog.empty())
        host.ShowErrorLog(sync.errLog);
    const int differences =
        HasDifference(sync.m_arrDir) || HasDifference(sync.m_arrFile) ? kExitReport : kExitClean;
    return std::max(differences, session.StatusOfLog());
}

void CompareCommand::PrintText(CVellList& list, bool all)
{
    for (int32_t i = 0; i < list.nVells(); ++i) {
        const int32_t way = list.SyncWayAt(i);
        if (way == 0 && !all)
            continue;
        const std::string_view path = list.FileAt(i, 0).empty() ? list.FileAt(i, 1) : list.FileAt(i, 0);
        const std::string mark = Mark(way);
        std::cout << mark << std::string(3 - mark.size(), ' ') << Printable(path) << '\n';
    }
}

void CompareCommand::PrintJson(CVellList& list, bool folders, bool all, bool& first)
{
    for (int32_t i = 0; i < list.nVells(); ++i) {
        const int32_t way = list.SyncWayAt(i);
        if (way == 0 && !all)
            continue;
        const std::string_view path = list.FileAt(i, 0).empty() ? list.FileAt(i, 1) : list.FileAt(i, 0);
        std::cout << (first ? "\n" : ",\n") << "  {\"type\": \"" << (folders ? "folder" : "file")
                  << "\", \"path\": " << JsonText::String(path) << ", \"syncWay\": " << way
                  << ", \"left\": " << JsonSide(list, i, 0, folders)
                  << ", \"right\": " << JsonSide(list, i, 1, folders) << "}";
        first = false;
    }
}

}  // namespace velloran::cli
