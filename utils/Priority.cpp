// SetOwnPriority on Linux. Every thread has its own nice value, so a process
// class is applied to each thread of /proc/self/task, and a thread priority
// is an offset from the current class, as thread priorities are relative to
// their process class elsewhere. The class is the one set last through this
// library (at first the process's nice value when the library was loaded), so
// setting the same thread priority twice gives the same nice value. An
// ordinary user may lower a priority but not raise it again: such a refusal
// leaves everything as it was, and GetOwnPriority tells what holds.
#include "utils/Priority.h"

#include "utils/QuorvantellUtils.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

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

// The class nearest a nice value: idle 19, normal 0, high -10.
int32_t NearestClass(int nice)
{
    if (nice >= 10)
        return IDLE_PRIORITY_CLASS;
    return nice <= -5 ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS;
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

int ThreadNice(pid_t tid)
{
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    return errno == 0 ? nice : kNiceMax;
}

bool SetThreadNice(pid_t tid, int nice)
{
    return setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice) == 0 || errno == ESRCH;
}

std::vector<pid_t> OwnThreads()
{
    std::vector<pid_t> threads;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] != '.')
                threads.push_back(static_cast<pid_t>(std::atoi(entry->d_name)));
        }
        closedir(tasks);
    }
    return threads;
}

// Every thread gets the nice value, or none does. The threads it raises go
// first: whether raising is allowed depends only on the value asked for, so
// a refusal comes before anything changed, while lowering is always allowed.
// A thread that ended meanwhile is no failure.
bool SetProcessNice(int nice)
{
    std::vector<pid_t> threads = OwnThreads();
    if (threads.empty())
        return false;
    std::stable_partition(threads.begin(), threads.end(), [nice](pid_t tid) { return ThreadNice(tid) > nice; });
    for (pid_t tid : threads) {
        if (!SetThreadNice(tid, nice))
            return false;
    }
    return true;
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

int32_t GetOwnPriority(int16_t selector)
{
    const int classNice = g_classNice.load();
    if (selector == 0)
        return NearestClass(classNice);
    const double offset = ThreadNice(gettid()) - classNice;
    return static_cast<int32_t>(std::clamp(std::lround(-offset / 5.0), -2L, 2L));
}

}  // namespace quorvantell::exports
