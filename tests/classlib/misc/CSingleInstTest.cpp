// Where the wake-up channel lives: in the user's runtime folder only while
// that is private, else in a folder of mode 0700 of the user's own under the
// temporary folder, and never in one of that name another user made.
#include "classlib/misc/CSingleInst.h"
#include "tests/support/RunAs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <pwd.h>

using quorvantell::CSingleInst;
using velloran::test::TempDir;

// The environment is changed in a child process only.
TEST(CSingleInst, ChannelOnlyInAFolderOfTheUsersOwn)
{
    TempDir runtime("run"), temp("tmp");
    const std::string own = temp / ("quorvantell-" + std::to_string(geteuid()));
    const auto checks = [&] {
        struct Row {
            std::string runtimeDir;
            mode_t mode;
            std::string folder;
        };
        setenv("TMPDIR", temp.Path().c_str(), 1);
        for (const Row& row : {Row{runtime.Path(), 0700, runtime.Path()}, Row{runtime.Path(), 0755, own},
                               Row{"", 0700, own}}) {
            chmod(runtime.Path().c_str(), row.mode);
            setenv("XDG_RUNTIME_DIR", row.runtimeDir.c_str(), 1);
            EXPECT_EQ(CSingleInst::ChannelPath("Sync", 3), row.folder + "/Sync3") << row.runtimeDir << " " << row.mode;
        }
        struct stat st{};
        EXPECT_EQ(stat(own.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        if (velloran::test::IsRoot()) {
            const passwd* nobody = getpwnam("nobody");
            EXPECT_EQ(chown(own.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
            EXPECT_EQ(CSingleInst::ChannelPath("Sync", 3), "");
        }
        return !::testing::Test::HasFailure();
    };
    EXPECT_TRUE(velloran::test::RunInChild(checks));
}
