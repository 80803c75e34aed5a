#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "config/TerminalConfig.h"
#include "payment/PaymentFlow.h"
#include "store/CLocalDb.h"
#include "tests/payment/FlowTestSupport.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

// A payment flow over a scripted gateway, a delivered database and a recording view.
class PaymentFlowTest : public ::testing::Test {
protected:
    void SetUp() override;
    FlowServices Services();

    // Types the two boxes and presses "确认支付".
    void Pay(const std::u16string& amount, const std::u16string& code);
    // Answers for the exchanges to come, scripted before the action that starts them.
    void Script(std::initializer_list<ScriptedAnswer> answers);
    // Delivers completions until no exchange runs.
    void Settle() { m_exchange.Settle(); }
    std::string Text(const std::string& sql);
    int LoggedRows();
    std::vector<std::string> TxnTypesSent();

    ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    int m_prints = 0;
    ExchangeHarness m_exchange;
    RecordingPaymentView m_view;
    std::unique_ptr<PaymentFlow> m_flow;
};

}  // namespace zelvo::test
