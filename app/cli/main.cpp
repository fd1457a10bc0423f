// velloran-cli: the headless front end of the sync engine, for scripts, cron
// jobs and CI. See CommandTable for the commands.
#include "app/cli/CommandTable.h"
#include "classlib/general/SettingsStore.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // The program owns the settings; a script or cron job only reads them.
    quorvantell::SettingsStore::OpenUserReadOnly();
    return velloran::cli::CommandTable::Main(std::vector<std::string>(argv + 1, argv + argc));
}
