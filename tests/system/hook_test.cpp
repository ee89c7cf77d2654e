#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/error.h"
#include "system/hook.h"

namespace {

// The hook-id counter is process-wide and runs out in HookIds.RunOutAfter256: the chains these
// tests use are taken when the program starts, before any test runs.
const int32_t orderChain = NewHookId();
const int32_t deleteChain = NewHookId();
const int32_t selfDeleteChain = NewHookId();
const int32_t passChain = NewHookId();
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
    InsertHook(orderChain, Record, const_cast<char*>("p5 first"), 5);
    InsertHook(orderChain, Record, const_cast<char*>("p10 first"), 10);
    InsertHook(orderChain, Record, const_cast<char*>("p5 second"), 5);
    InsertHook(orderChain, Record, const_cast<char*>("p-1"), -1);
    InsertHook(orderChain, Record, const_cast<char*>("p10 second"), 10);
    InsertHook(orderChain, Record, const_cast<char*>("p0"), 0);
    EXPECT_EQ(RunChain(orderChain), (Trace{"p10 first", "p10 second", "p5 first", "p5 second", "p0", "p-1"}));
}

TEST(Hooks, EachHookGetsThePreviousResult)
{
    const int32_t chain = passChain;
    int input = 0;
    EXPECT_EQ(RunHookChain(chain, &input), &input) << "an empty chain returns its data";
    static int second = 0;
    InsertHook(
        chain, [](int32_t id, void* data, void* context) -> void* { return context; }, &second, 2);
    InsertHook(
        chain,
        [](int32_t id, void* data, void* context) -> void* {
            EXPECT_EQ(data, &second);
            return nullptr;
        },
        nullptr, 1);
    EXPECT_EQ(RunHookChain(chain, &input), nullptr);
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
    const int32_t chain = selfDeleteChain;
    InsertHook(chain, Record, const_cast<char*>("before"), 2);
    InsertHook(chain, DeleteSelf, nullptr, 1);
    InsertHook(chain, Record, const_cast<char*>("after"), 0);
    EXPECT_EQ(RunChain(chain), (Trace{"before", "once", "after"}));
    EXPECT_EQ(RunChain(chain), (Trace{"before", "after"}));
}

TEST(Hooks, IdsOutsideTheTableAreRefused)
{
    Trace trace;
    EXPECT_EQ(RunHookChain(256, &trace), &trace);
    EXPECT_EQ(RunHookChain(-1, &trace), &trace);
    DeleteHook(300, Record, nullptr);
    EXPECT_THROW(InsertHook(256, Record, nullptr, 0), TRuntimeError);
    EXPECT_TRUE(trace.empty());
}

TEST(HookIds, RunOutAfter256)
{
    int32_t last = -1;
    int32_t handedOut = 0;
    try {
        for (;;) {
            const int32_t id = NewHookId();
            ASSERT_GT(id, last);
            last = id;
            ++handedOut;
            ASSERT_LE(handedOut, 256);
        }
    } catch (const TRuntimeError& error) {
        EXPECT_STREQ(error.what(), "Too many hook ids");
    }
    EXPECT_EQ(last, 255);
    EXPECT_THROW(NewHookId(), TRuntimeError) << "stays exhausted";
    // The chains taken before still work.
    InsertHook(lateChain, Record, const_cast<char*>("late"), 0);
    EXPECT_EQ(RunChain(lateChain), Trace{"late"});
}
