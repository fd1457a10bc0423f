#include "tests/support/RunAs.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloran::test {

bool IsRoot()
{
    return geteuid() == 0;
}

bool RunAsNobody(const std::function<bool()>& body)
{
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr)
        return false;
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setresgid(gid, gid, gid) != 0 || setresuid(uid, uid, uid) != 0)
            _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool RunInChild(const std::function<bool()>& body, unsigned seconds)
{
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        alarm(seconds);  // the default action of SIGALRM ends the child
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace velloran::test
