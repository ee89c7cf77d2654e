#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/error.h"
#include "system/hook.h"

namespace {

// The hook-id counter is process-wide and runs out in HookIds.RunOutAfter256: the chains these
// tests use are taken when the program starts, before any test runs. Each test leaves its chain
// empty, so the tests can run in any order and repeatedly.
const int32_t orderChain = NewHookId();
const int32_t passChain = NewHookId();
const int32_t deleteChain = NewHookId();
const int32_t selfDeleteChain = NewHookId();
const int32_t lateChain = NewHookId();

// A hook appends its context (a name) to the trace passed as data and hands the trace on.
using Trace = std::vector<std::string>;

void* Record(int32_t, void* data, void* context)
{
    static_cast<Trace*>(data)->push_back(static_cast<const char*>(context));
    return data;
}

void* DeleteSelf(int32_t id, void* data, void* context)
{
    static_cast<Trace*>(data)->push_back("once");
    DeleteHook(id, DeleteSelf, context);
    return data;
}

Trace RunChain(int32_t chain)
{
    Trace trace;
    EXPECT_EQ(RunHookChain(chain, &trace), &trace);
    return trace;
}

} // namespace

TEST(Hooks, RunByDescendingPriorityThenInsertionOrder)
{
    char p5a[] = "p5 first", p10a[] = "p10 first", p5b[] = "p5 second", pm1[] = "p-1", p10b[] = "p10 second",
         p0[] = "p0";
    InsertHook(orderChain, Record, p5a, 5);
    InsertHook(orderChain, Record, p10a, 10);
    InsertHook(orderChain, Record, p5b, 5);
    InsertHook(orderChain, Record, pm1, -1);
    InsertHook(orderChain, Record, p10b, 10);
    InsertHook(orderChain, Record, p0, 0);
    EXPECT_EQ(RunChain(orderChain), (Trace{"p10 first", "p10 second", "p5 first", "p5 second", "p0", "p-1"}));
    for (char* name : {p5a, p10a, p5b, pm1, p10b, p0})
        DeleteHook(orderChain, Record, name);
    EXPECT_EQ(RunChain(orderChain), Trace{});
}

TEST(Hooks, EachHookGetsThePreviousResult)
{
    int input = 0, second = 0;
    EXPECT_EQ(RunHookChain(passChain, &input), &input) << "an empty chain returns its data";
    const THookFunc first = [](int32_t, void*, void* context) -> void* { return context; };
    const THookFunc last = [](int32_t, void* data, void* context) -> void* {
        EXPECT_EQ(data, context);
        return nullptr;
    };
    InsertHook(passChain, first, &second, 2);
    InsertHook(passChain, last, &second, 1);
    EXPECT_EQ(RunHookChain(passChain, &input), nullptr);
    DeleteHook(passChain, first, &second);
    DeleteHook(passChain, last, &second);
}

TEST(Hooks, DeleteMatchesFunctionAndContext)
{
    char a[] = "a", b[] = "b";
    InsertHook(deleteChain, Record, a, 0);
    InsertHook(deleteChain, Record, b, 0);
    InsertHook(deleteChain, Record, a, 0);
    DeleteHook(deleteChain, Record, b);
    EXPECT_EQ(RunChain(deleteChain), (Trace{"a", "a"}));
    DeleteHook(deleteChain, Record, a);
    EXPECT_EQ(RunChain(deleteChain), (Trace{"a"}));
    DeleteHook(deleteChain, Record, b); // no longer there: nothing happens
    DeleteHook(deleteChain, [](int32_t, void* data, void*) { return data; }, a);
    EXPECT_EQ(RunChain(deleteChain), (Trace{"a"}));
    DeleteHook(deleteChain, Record, a);
    EXPECT_EQ(RunChain(deleteChain), Trace{});
}

TEST(Hooks, HookMayDeleteItselfWhileTheChainRuns)
{
    char before[] = "before", after[] = "after";
    InsertHook(selfDeleteChain, Record, before, 2);
    InsertHook(selfDeleteChain, DeleteSelf, nullptr, 1);
    InsertHook(selfDeleteChain, Record, after, 0);
    EXPECT_EQ(RunChain(selfDeleteChain), (Trace{"before", "once", "after"}));
    EXPECT_EQ(RunChain(selfDeleteChain), (Trace{"before", "after"}));
    DeleteHook(selfDeleteChain, Record, before);
    DeleteHook(selfDeleteChain, Record, after);
}

TEST(Hooks, IdsOutsideTheTableAreRefused)
{
    Trace trace;
    EXPECT_EQ(RunHookChain(256, &trace), &trace);
    EXPECT_EQ(RunHookChain(-1, &trace), &trace);
    DeleteHook(300, Record, nullptr);
    EXPECT_THROW(InsertHook(256, Record, nullptr, 0), TRuntimeError);
    EXPECT_THROW(InsertHook(-1, Record, nullptr, 0), TRuntimeError);
    EXPECT_TRUE(trace.empty());
}

TEST(HookIds, RunOutAfter256)
{
    int32_t last = -1;
    try {
        for (int32_t calls = 0; calls <= 256; ++calls) {
            const int32_t id = NewHookId();
            ASSERT_GT(id, last);
            last = id;
        }
        FAIL() << "more than 256 hook ids";
    } catch (const TRuntimeError& error) {
        EXPECT_STREQ(error.what(), "Too many hook ids");
    }
    if (last >= 0) { // ids were left before this test (not so when it runs again in one process)
        EXPECT_EQ(last, 255);
    }
    EXPECT_THROW(NewHookId(), TRuntimeError) << "stays exhausted";
    // The chains taken before still work.
    char late[] = "late";
    InsertHook(lateChain, Record, late, 0);
    EXPECT_EQ(RunChain(lateChain), Trace{"late"});
    DeleteHook(lateChain, Record, late);
}
