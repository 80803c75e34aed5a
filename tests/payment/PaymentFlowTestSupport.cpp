#include "tests/payment/PaymentFlowTestSupport.h"

#include "MISCIL/FieldTables.h"

namespace zelvo::test {

void PaymentFlowTest::SetUp() {
    MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
    ASSERT_TRUE(m_db.Open(u"MISData.db"));
    m_config.PrintCustPage = "1";
    m_config.PrintMerPage = "1";
    m_flow = std::make_unique<PaymentFlow>(m_view, Services());
}

FlowServices PaymentFlowTest::Services() {
    return FlowServices{m_exchange.runner, [this] { return &m_db; }, [] { return "01"; },
                        [this] { ++m_prints; }, m_config};
}

void PaymentFlowTest::Pay(const std::u16string& amount, const std::u16string& code) {
    m_view.amountBox = amount;
    m_view.codeBox = code;
    m_flow->ConfirmPayment();
}

void PaymentFlowTest::Script(std::initializer_list<ScriptedAnswer> answers) {
    for (const ScriptedAnswer& answer : answers) m_exchange.gateway.Script(answer);
}

std::string PaymentFlowTest::Text(const std::string& sql) {
    return QueryText(m_dir.Path() / "MISData.db", sql);
}

int PaymentFlowTest::LoggedRows() {
    return std::stoi(Text("select count(*) from TBL_TRANS_LOG"));
}

std::vector<std::string> PaymentFlowTest::TxnTypesSent() {
    std::vector<std::string> types;
    for (const std::string& request : m_exchange.gateway.Requests()) {
        types.push_back(RequestField(request, MisRequestField::TxnType));
    }
    return types;
}

}  // namespace zelvo::test
