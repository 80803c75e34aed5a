#include "payment/Settlement.h"

#include "MISCIL/CfgValues.h"
#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "base/Text.h"
#include "payment/SettlementBill.h"
#include "payment/SettlementTotals.h"
#include "payment/SettlementView.h"
#include "store/CLocalDb.h"

namespace zelvo {
bool SettlementPasswordMatches(const std::u16string& entered, const std::string& loginPassword) {
    return EqualsIgnoringCase(entered, GbkToUtf16(loginPassword));
}

Settlement::Settlement(std::function<CLocalDb*()> database, const TerminalConfig& config,
                       std::function<SettlingOperator()> currentOperator, SettlementView& view,
                       std::filesystem::path billFile)
    : m_database(std::move(database)),
      m_config(config),
      m_currentOperator(std::move(currentOperator)),
      m_view(view),
      m_billFile(std::move(billFile)) {}

void Settlement::SettleOperator(const std::u16string& password) {
    const SettlingOperator settling = m_currentOperator();
    if (!SettlementPasswordMatches(password, settling.password)) {
        m_view.ShowMessage(MessageKind::Error, kWrongPasswordText);
        m_view.ClearPasswordField();
        return;
    }
    m_view.ClosePasswordPrompt();

    CLocalDb* db = m_database();
    SettlementTotals totals;
    if (db == nullptr || !SumUnsettledRows(*db, settling.id, totals)) {
        m_view.ShowMessage(MessageKind::Error, kSettlementFailedText);
        return;
    }
    if (totals.empty()) {
        totals["ALP"];
        totals["WXP"];
    }
    SettlementBillHeader header;
    header.merName = m_config.MerName;
    header.merCode = m_config.MerCode;
    header.termCode = m_config.TermCode;
    header.operatorId = settling.id;
    header.lineWidth = LineWidthOf(m_config.LineWide);
    header.trailingBlankLines = ClampSpacLine(m_config.SpacLine);
    if (!ComposeSettlementBill(totals, header, m_billFile)) {
        m_view.ShowMessage(MessageKind::Error, kPrintFileFailedText);
        return;
    }
    m_view.StartPrinting();
    if (!MarkOperatorSettled(*db, settling.id)) {
        m_view.ShowMessage(MessageKind::Error, kMarkFailedText);
        return;
    }
    m_view.ShowMessage(MessageKind::Success, kSettledText);
    m_view.SettlementDone();
}

}  // namespace zelvo
