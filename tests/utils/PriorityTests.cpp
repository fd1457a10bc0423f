// SetOwnPriority: a class reaches every thread, a thread priority only the
// caller. Each case runs in a child process (death-test machinery) so the
// test program keeps its own priority.
#include "tests/support/RunAs.h"
#include "utils/UtilsImport.h"

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <iostream>
#include <string>
#include <thread>

namespace {

using namespace quorvantell;

int OwnNice()
{
    return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
}

// A second thread that reports its own nice value when asked.
class OtherThread {
public:
    OtherThread() : m_thread([this] { m_ask.get_future().wait(); m_nice.set_value(OwnNice()); }) {}
    ~OtherThread()
    {
        if (m_thread.joinable()) {
            Nice();
        }
    }
    int Nice()
    {
        m_ask.set_value();
        const int nice = m_nice.get_future().get();
        m_thread.join();
        return nice;
    }

private:
    std::promise<void> m_ask;
    std::promise<int> m_nice;
    std::thread m_thread;
};

// Ends the child process: 0 when every check held, otherwise 1 after
// printing what failed.
[[noreturn]] void Finish(bool ok, const std::string& detail)
{
    if (!ok)
        std::cerr << detail << std::endl;
    std::_Exit(ok ? 0 : 1);
}

std::string Describe(const char* what, int got, int want)
{
    return std::string(what) + ": got " + std::to_string(got) + ", want " + std::to_string(want);
}

void RunInChild(void (*body)())
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(body(), testing::ExitedWithCode(0), "");
}

TEST(SetOwnPriority, ProcessClassReachesEveryThread)
{
    RunInChild([] {
        OtherThread other;
        const bool done = utils::SetOwnPriority(0, IDLE_PRIORITY_CLASS) != 0;
        const int mine = OwnNice(), theirs = other.Nice();
        Finish(done && mine == 19 && theirs == 19,
               "idle class: result " + std::to_string(done) + ", " + Describe("caller", mine, 19) + ", " +
                   Describe("other thread", theirs, 19));
    });
}

TEST(SetOwnPriority, ThreadPriorityChangesOnlyTheCallingThread)
{
    RunInChild([] {
        OtherThread other;
        const int base = OwnNice();
        const bool done = utils::SetOwnPriority(-1, -2) != 0;
        const int mine = OwnNice(), theirs = other.Nice();
        const int want = std::min(base + 10, 19);
        Finish(done && mine == want && theirs == base,
               Describe("caller", mine, want) + ", " + Describe("other thread", theirs, base));
    });
}

TEST(SetOwnPriority, RefusesUnknownValues)
{
    RunInChild([] {
        const int base = OwnNice();
        const bool refused = utils::SetOwnPriority(0, 0x1234) == 0 && utils::SetOwnPriority(0, 0) == 0 &&
                             utils::SetOwnPriority(1, 3) == 0 && utils::SetOwnPriority(1, -3) == 0 &&
                             utils::SetOwnPriority(1, INT32_MIN) == 0;
        Finish(refused && OwnNice() == base, "an unknown class or thread priority was accepted");
    });
}

TEST(SetOwnPriority, HighClassAndThreadLevelsAsRoot)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "raising priority needs root";
    RunInChild([] {
        OtherThread other;
        bool ok = utils::SetOwnPriority(0, HIGH_PRIORITY_CLASS) != 0 && OwnNice() == -10;
        std::string detail = Describe("high class", OwnNice(), -10);
        // Thread levels are offsets from the class, the same every time.
        const int want[] = {0, -5, -10, -15, -20};
        for (int level = -2; level <= 2; ++level) {
            for (int repeat = 0; repeat < 2; ++repeat) {
                const bool done = utils::SetOwnPriority(1, level) != 0;
                const int got = OwnNice();
                if (!done || got != want[level + 2] || utils::GetOwnPriority(1) != level ||
                    utils::GetOwnPriority(0) != HIGH_PRIORITY_CLASS) {
                    ok = false;
                    detail += "; level " + std::to_string(level) + ": " + Describe("nice", got, want[level + 2]);
                }
            }
        }
        const int theirs = other.Nice();
        Finish(ok && theirs == -10, detail + "; " + Describe("other thread", theirs, -10));
    });
}

// As an ordinary user raising is refused, lowering cannot be undone, and
// the query tells what holds after each step, never what was asked for.
TEST(SetOwnPriority, UnprivilegedRaiseIsRefusedAndTheQueryTellsWhatHolds)
{
    if (!velloran::test::IsRoot())
        GTEST_SKIP() << "needs root to run a part as nobody";
    if (OwnNice() != 0)
        GTEST_SKIP() << "the steps start from nice 0";
    const bool held = velloran::test::RunAsNobody([] {
        struct Step {
            int16_t selector;
            int32_t priority;
            bool accepted;
            int nice;
            int32_t shownClass;
            int32_t shownLevel;
        };
        const Step steps[] = {
            {0, HIGH_PRIORITY_CLASS, false, 0, NORMAL_PRIORITY_CLASS, 0},
            {1, 2, false, 0, NORMAL_PRIORITY_CLASS, 0},
            {1, -1, true, 5, NORMAL_PRIORITY_CLASS, -1},
            {1, 0, false, 5, NORMAL_PRIORITY_CLASS, -1},
            {0, NORMAL_PRIORITY_CLASS, false, 5, NORMAL_PRIORITY_CLASS, -1},
            {0, IDLE_PRIORITY_CLASS, true, 19, IDLE_PRIORITY_CLASS, 0},
            {0, NORMAL_PRIORITY_CLASS, false, 19, IDLE_PRIORITY_CLASS, 0},
        };
        bool ok = true;
        for (const Step& step : steps) {
            const bool accepted = utils::SetOwnPriority(step.selector, step.priority) != 0;
            const int32_t shownClass = utils::GetOwnPriority(0), shownLevel = utils::GetOwnPriority(1);
            if (accepted != step.accepted || OwnNice() != step.nice || shownClass != step.shownClass ||
                shownLevel != step.shownLevel) {
                std::cerr << "as nobody, " << step.selector << "/" << step.priority << ": accepted " << accepted
                          << ", " << Describe("nice", OwnNice(), step.nice) << ", shown class " << shownClass
                          << ", shown level " << shownLevel << std::endl;
                ok = false;
            }
        }
        return ok;
    });
    EXPECT_TRUE(held);
}

}  // namespace
