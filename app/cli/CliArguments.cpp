// CliArguments: option and operand parsing.
#include "app/cli/CliArguments.h"

#include <algorithm>

namespace velloran::cli {

CliArguments CliArguments::Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& accepted)
{
    CliArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            if (!optionsEnded && arg.size() > 1 && arg[0] == '-')
                throw UsageError("unknown option " + arg);
            parsed.m_operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const auto spec = std::find_if(accepted.begin(), accepted.end(),
                                       [&](const OptionSpec& s) { return s.name == name; });
        if (spec == accepted.end())
            throw UsageError("unknown option --" + name);
        if (spec->valueName.empty() && equals != std::string::npos)
            throw UsageError("--" + name + " takes no value");
        if (equals != std::string::npos)
            parsed.m_options[name] = arg.substr(equals + 1);
        else if (spec->valueName.empty())
            parsed.m_options[name] = std::string();
        else if (i + 1 < args.size())
            parsed.m_options[name] = args[++i];
        else
            throw UsageError("--" + name + " needs a value: --" + name + "=" + spec->valueName);
    }
    return parsed;
}

std::string CliArguments::Value(const std::string& name) const
{
    const auto it = m_options.find(name);
    return it == m_options.end() ? std::string() : it->second;
}

}  // namespace velloran::cli
