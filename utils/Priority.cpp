// SetOwnPriority on Linux. Every thread has its own nice value, so a process
// class is applied to each thread of /proc/self/task, and a thread priority
// is an offset from the current class, as thread priorities are relative to
// their process class elsewhere. The class is the one set last through this
// library (at first the process's nice value when the library was loaded), so
// setting the same thread priority twice gives the same nice value.
#include "utils/Priority.h"

#include "utils/QuorvantellUtils.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace quorvantell::exports {

namespace {

constexpr int kNiceMin = -20;
constexpr int kNiceMax = 19;

int LoadTimeNice()
{
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    return errno == 0 ? nice : 0;
}

std::atomic<int> g_classNice{LoadTimeNice()};

bool ClassNice(int32_t priorityClass, int& nice)
{
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS: nice = kNiceMax; return true;
    case NORMAL_PRIORITY_CLASS: nice = 0; return true;
    case HIGH_PRIORITY_CLASS: nice = -10; return true;
    default: return false;
    }
}

// Lowest (-2) .. highest (2) as nice offsets +10, +5, 0, -5, -10: steps of
// five keep the five levels apart within the normal range of the classes.
bool ThreadOffset(int32_t priority, int& offset)
{
    if (priority < -2 || priority > 2)
        return false;
    offset = -5 * priority;
    return true;
}

bool SetThreadNice(pid_t tid, int nice)
{
    return setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) == 0 || errno == ESRCH;
}

// Every thread gets the nice value; a thread that ended meanwhile is no failure.
bool SetProcessNice(int nice)
{
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return false;
    bool ok = true;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        ok = SetThreadNice(static_cast<pid_t>(std::atoi(entry->d_name)), nice) && ok;
    }
    closedir(tasks);
    return ok;
}

}  // namespace

int32_t SetOwnPriority(int16_t selector, int32_t priority)
{
    int nice = 0;
    if (selector == 0) {
        if (!ClassNice(priority, nice) || !SetProcessNice(nice))
            return 0;
        g_classNice = nice;
        return 1;
    }
    int offset = 0;
    if (!ThreadOffset(priority, offset))
        return 0;
    nice = std::clamp(g_classNice.load() + offset, kNiceMin, kNiceMax);
    return SetThreadNice(gettid(), nice) ? 1 : 0;
}

}  // namespace quorvantell::exports
