// velloran-cli: the headless front end of the sync engine, for scripts, cron
// jobs and CI. See CommandTable for the commands.
#include "app/cli/CommandTable.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return velloran::cli::CommandTable::Main(std::vector<std::string>(argv + 1, argv + argc));
}
