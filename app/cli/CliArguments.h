// CliArguments: a command line split into the command, its options
// ("--name", "--name=value" or "--name value") and its operands, checked
// against the options the command accepts. "--" ends the options.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace velloran::cli {

// One option a command accepts.
struct OptionSpec {
    std::string name;        // without the leading "--"
    std::string valueName;   // empty for a flag; else shown as --name=VALUE
    std::string description;
};

// Bad usage: an unknown option, a missing or unexpected value, wrong operands.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CliArguments {
public:
    // Parses args (the command's own words, after the command name).
    // Raises UsageError.
    static CliArguments Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& accepted);

    bool Has(const std::string& name) const { return m_options.count(name) != 0; }
    // The value of an option given as --name=value; empty when absent.
    std::string Value(const std::string& name) const;
    const std::vector<std::string>& Operands() const { return m_operands; }

private:
    std::map<std::string, std::string> m_options;
    std::vector<std::string> m_operands;
};

}  // namespace velloran::cli
