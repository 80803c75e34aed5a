#include <gtest/gtest.h>

#include <vector>

#include "payment/RequestBuilders.h"
#include "tests/payment/FlowTestSupport.h"

namespace zelvo::test {
namespace {

RequestBuffer QueryRequest() {
    RequestBuffer request;
    ClearRequest(request);
    BuildQuery("PURC", "20260315100000000123456", "1", request);
    return request;
}

TEST(ExchangeRunnerTest, EmptyRequestIsNotSent) {
    ScriptedGateway gateway;
    RequestBuffer empty{};
    EXPECT_EQ(RunExchange(gateway, empty), ExchangeResult::NothingSent);
    EXPECT_TRUE(gateway.Requests().empty());
}

TEST(ExchangeRunnerTest, CompletionReachesTheStarterOnTheUserInterfaceSide) {
    ExchangeHarness harness;
    harness.gateway.Script(Answer("00"));
    std::vector<ExchangeResult> results;
    ASSERT_TRUE(harness.runner.Start(QueryRequest(),
                                     [&](ExchangeResult result) { results.push_back(result); }));
    EXPECT_TRUE(harness.runner.IsRunning());
    // Nothing is handled until the user-interface side runs the posted completion.
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(harness.Settle(), 1);
    EXPECT_EQ(results, std::vector<ExchangeResult>{ExchangeResult::Completed});
    EXPECT_FALSE(harness.runner.IsRunning());
}

TEST(ExchangeRunnerTest, OneExchangeAtATime) {
    ExchangeHarness harness;
    harness.gateway.Script(Failure(1));
    std::vector<ExchangeResult> first, second;
    ASSERT_TRUE(
        harness.runner.Start(QueryRequest(), [&](ExchangeResult r) { first.push_back(r); }));
    EXPECT_FALSE(
        harness.runner.Start(QueryRequest(), [&](ExchangeResult r) { second.push_back(r); }));
    harness.Settle();
    EXPECT_EQ(first, std::vector<ExchangeResult>{ExchangeResult::Failed});
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(harness.gateway.Requests().size(), 1u);
}

TEST(ExchangeRunnerTest, HandlerMayStartTheNextExchange) {
    ExchangeHarness harness;
    harness.gateway.Script(Answer("98"));
    harness.gateway.Script(Answer("00"));
    std::vector<ExchangeResult> results;
    std::function<void(ExchangeResult)> handler = [&](ExchangeResult result) {
        results.push_back(result);
        if (results.size() == 1) {
            EXPECT_TRUE(harness.runner.Start(QueryRequest(), handler));
        }
    };
    ASSERT_TRUE(harness.runner.Start(QueryRequest(), handler));
    EXPECT_EQ(harness.Settle(), 2);
    EXPECT_EQ(results.size(), 2u);
}

TEST(ExchangeRunnerTest, RequestIsCopiedSoThePageMayReuseItsBuffer) {
    ExchangeHarness harness;
    harness.gateway.Script(Answer("00"));
    RequestBuffer request = QueryRequest();
    std::string sent(RequestText(request));
    ASSERT_TRUE(harness.runner.Start(request, nullptr));
    ClearRequest(request);
    harness.Settle();
    EXPECT_EQ(harness.gateway.LastRequest(), sent);
}

TEST(ExchangeRunnerTest, CompletionAfterTheRunnerIsGoneIsDropped) {
    QueuedPoster poster;
    ScriptedGateway gateway;
    gateway.Script(Answer("00"));
    bool handled = false;
    {
        ExchangeRunner runner(gateway, poster.Poster());
        ASSERT_TRUE(runner.Start(QueryRequest(), [&](ExchangeResult) { handled = true; }));
    }
    ASSERT_TRUE(poster.DeliverOne());
    EXPECT_FALSE(handled);
}

}  // namespace
}  // namespace zelvo::test
