#include "scan/HostQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace {

using Clock = std::chrono::steady_clock;

struct Job {
    std::string host;
    std::uint64_t order = 0;
    Clock::time_point notBefore{};
};

// The orders takeNext gives now, until it gives nothing.
std::vector<std::uint64_t> takeAll(HostQueue<Job>& queue, std::vector<Job>* taken = nullptr) {
    std::vector<std::uint64_t> orders;
    while (auto job = queue.takeNext(Clock::now())) {
        orders.push_back(job->order);
        if (taken != nullptr) {
            taken->push_back(*job);
        }
    }
    return orders;
}

TEST(HostQueue, ABusyHostLetsLaterPagesOfOtherHostsGoFirst) {
    HostQueue<Job> queue(2, std::chrono::milliseconds(0));
    for (std::uint64_t i = 0; i < 6; ++i) {
        queue.append({i < 4 ? "a.example" : "b.example", i});
    }
    EXPECT_EQ(takeAll(queue), (std::vector<std::uint64_t>{0, 1, 4, 5}));
    queue.finished("a.example");
    EXPECT_EQ(takeAll(queue), (std::vector<std::uint64_t>{2}));
    queue.finished("b.example");  // b has nothing left: a stays at its limit
    EXPECT_TRUE(takeAll(queue).empty());
    queue.finished("a.example");
    EXPECT_EQ(takeAll(queue), (std::vector<std::uint64_t>{3}));
}

TEST(HostQueue, RequeuedJobsKeepTheirOrderBehindJobsPutFirst) {
    HostQueue<Job> queue(1, std::chrono::milliseconds(0));
    queue.append({"a.example", 1});
    queue.append({"a.example", 5});
    queue.insertInOrder({"a.example", 3});
    queue.putFirst({"a.example", 9});  // a robots.txt a page already done waits for
    queue.insertInOrder({"a.example", 0});
    std::vector<std::uint64_t> orders;
    for (int i = 0; i < 5; ++i) {
        const auto job = queue.takeNext(Clock::now());
        ASSERT_TRUE(job);
        orders.push_back(job->order);
        queue.finished("a.example");
    }
    EXPECT_EQ(orders, (std::vector<std::uint64_t>{9, 0, 1, 3, 5}));
}

TEST(HostQueue, TheIntervalAndAHoldDelayOnlyTheirHost) {
    HostQueue<Job> queue(2, std::chrono::milliseconds(200));
    queue.append({"a.example", 0});
    queue.append({"a.example", 1});
    queue.append({"b.example", 2});
    queue.holdHost("c.example", Clock::now() + std::chrono::hours(1));
    queue.append({"c.example", 3});
    EXPECT_EQ(takeAll(queue), (std::vector<std::uint64_t>{0, 2}));
    const auto next = queue.nextTime();
    EXPECT_GT(next, Clock::now() + std::chrono::milliseconds(100));
    EXPECT_LT(next, Clock::now() + std::chrono::minutes(1));
    EXPECT_EQ(queue.takeNext(next)->order, 1u);  // a's interval has passed by then
    EXPECT_EQ(queue.removeIf([](const Job& job) { return job.host == "c.example"; }).size(), 1u);
    EXPECT_TRUE(queue.takeAll().empty());
}

}  // namespace
}  // namespace tarnwick
