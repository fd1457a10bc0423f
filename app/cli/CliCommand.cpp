// CliCommand: parsing a command's words, usage and help text.
#include "app/cli/CliCommand.h"

#include "app/cli/CliSession.h"

#include <iostream>

namespace velloran::cli {

namespace {

// Words of text on lines of at most 78 columns, each line indented.
std::string Wrap(const std::string& text, size_t indent)
{
    std::string out, line(indent, ' ');
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        if (line.size() > indent && line.size() + 1 + word.size() > 78) {
            out += line + "\n";
            line.assign(indent, ' ');
        }
        line += (line.size() > indent ? " " : "") + word;
        start = end + 1;
    }
    return out + line + "\n";
}

}  // namespace

int CliCommand::Run(const std::vector<std::string>& args)
{
    std::vector<OptionSpec> accepted = CliSession::CommonOptions();
    const std::vector<OptionSpec> own = Options();
    accepted.insert(accepted.end(), own.begin(), own.end());
    accepted.push_back({"help", "", ""});
    const CliArguments arguments = CliArguments::Parse(args, accepted);
    if (arguments.Has("help")) {
        std::cout << "Usage: velloran-cli " << Usage() << "\n\n" << Help();
        return 0;
    }
    if (arguments.Operands().size() != Operands().size())
        throw UsageError("usage: velloran-cli " + Usage());
    CliSession session(arguments);
    const int status = Execute(session);
    session.Host().EndProgressLine();
    return status;
}

std::string CliCommand::Usage() const
{
    std::string usage = Name();
    for (const OptionSpec& option : Options())
        usage += " [--" + option.name + (option.valueName.empty() ? "" : "=" + option.valueName) + "]";
    for (const std::string& operand : Operands())
        usage += " " + operand;
    return usage;
}

std::string CliCommand::Help() const
{
    std::string help = "  " + Usage() + "\n" + Wrap(Description(), 6);
    for (const OptionSpec& option : Options()) {
        std::string flag = "--" + option.name + (option.valueName.empty() ? "" : "=" + option.valueName);
        help += "      " + flag + std::string(flag.size() < 24 ? 24 - flag.size() : 1, ' ') + option.description +
                "\n";
    }
    return help;
}

}  // namespace velloran::cli
