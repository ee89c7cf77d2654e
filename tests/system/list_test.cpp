#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "system/list.h"

namespace {

struct Item {
    int id;
};

struct Fixture {
    TList<Item> list;
    std::vector<std::shared_ptr<Item>> items;

    explicit Fixture(int n)
    {
        for (int i = 0; i < n; ++i) {
            items.push_back(std::make_shared<Item>(Item{i}));
            list.AddLast(items.back());
        }
    }

    std::string Contents() const
    {
        std::string s;
        for (const auto& it : list)
            s += std::to_string(it->id);
        return s;
    }
};

} // namespace

TEST(TList, AppendsAtTheEndAndWalksInOrder)
{
    Fixture f(5);
    EXPECT_EQ(f.Contents(), "01234");
    EXPECT_EQ(f.list.Count(), 5u);
    EXPECT_EQ(f.list.First()->id, 0);
    EXPECT_EQ(f.list.Last()->id, 4);
}

TEST(TList, RemovingAbsentElementDoesNothing)
{
    Fixture f(3);
    auto stranger = std::make_shared<Item>(Item{9});
    EXPECT_FALSE(f.list.Remove(stranger));
    EXPECT_TRUE(f.list.Remove(f.items[1]));
    EXPECT_FALSE(f.list.Remove(f.items[1]));
    EXPECT_EQ(f.Contents(), "02");
    EXPECT_EQ(f.list.Count(), 2u);
}

TEST(TList, WalkSurvivesRemovalOfCurrentElement)
{
    Fixture f(5);
    std::string seen;
    for (const auto& it : f.list) {
        seen += std::to_string(it->id);
        f.list.Remove(it);
    }
    EXPECT_EQ(seen, "01234");
    EXPECT_TRUE(f.list.IsEmpty());
    EXPECT_EQ(f.list.First(), nullptr);
}

TEST(TList, WalkSkipsNextElementRemovedAhead)
{
    Fixture f(6);
    std::string seen;
    for (const auto& it : f.list) {
        seen += std::to_string(it->id);
        if (it->id == 1)
            f.list.Remove(f.items[2]);
    }
    EXPECT_EQ(seen, "01345");
}

TEST(TList, RemovingEarlierElementDoesNotRevisit)
{
    Fixture f(5);
    std::string seen;
    for (const auto& it : f.list) {
        seen += std::to_string(it->id);
        if (it->id == 3)
            f.list.Remove(f.items[0]);
    }
    EXPECT_EQ(seen, "01234");
    EXPECT_EQ(f.Contents(), "1234");
}

TEST(TList, NestedWalksRemovingCurrentAndFollowing)
{
    // The outer walk stands on 2 while an inner walk removes 2, 3 and 4: the outer one
    // must carry on with 5, as the game's nested blasts and scans rely on.
    Fixture f(7);
    std::string seen;
    for (const auto& outer : f.list) {
        seen += std::to_string(outer->id);
        if (outer->id == 2) {
            for (const auto& inner : f.list)
                if (inner->id >= 2 && inner->id <= 4)
                    f.list.Remove(inner);
        }
    }
    EXPECT_EQ(seen, "01256");
    EXPECT_EQ(f.Contents(), "0156");
}

TEST(TList, RemovingEverythingFromNestedCall)
{
    Fixture f(4);
    std::string seen;
    for (const auto& it : f.list) {
        seen += std::to_string(it->id);
        f.list.Clear();
    }
    EXPECT_EQ(seen, "0");
    EXPECT_EQ(f.list.Count(), 0u);
    f.list.AddLast(f.items[3]);
    EXPECT_EQ(f.Contents(), "3");
}

TEST(TList, ElementsAppendedDuringWalkAreVisited)
{
    Fixture f(3);
    std::string seen;
    int appended = 0;
    for (const auto& it : f.list) {
        seen += std::to_string(it->id);
        if (appended < 2) {
            f.list.AddLast(std::make_shared<Item>(Item{7 + appended}));
            ++appended;
        }
    }
    EXPECT_EQ(seen, "01278");
}

TEST(TList, AppendAfterRemovingTheTailDuringWalk)
{
    Fixture f(2);
    std::string seen;
    for (const auto& it : f.list) {
        seen += std::to_string(it->id);
        if (it->id == 1) {
            f.list.Remove(it);
            f.list.AddLast(std::make_shared<Item>(Item{5}));
        }
    }
    EXPECT_EQ(seen, "015");
    EXPECT_EQ(f.Contents(), "05");
}

TEST(TList, RemovedElementsAreReleased)
{
    auto item = std::make_shared<Item>(Item{1});
    std::weak_ptr<Item> watch = item;
    {
        TList<Item> list;
        list.AddLast(item);
        item.reset();
        EXPECT_FALSE(watch.expired());
        list.Remove(watch.lock().get());
    }
    EXPECT_TRUE(watch.expired());
}

TEST(TList, LongListDestroysWithoutRecursion)
{
    auto list = std::make_unique<TList<Item>>();
    for (int i = 0; i < 200000; ++i)
        list->AddLast(std::make_shared<Item>(Item{i}));
    list.reset();
    SUCCEED();
}
