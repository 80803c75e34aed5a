#include "payment/SlipReprint.h"

#include <cstdio>

#include "base/CodePage.h"
#include "base/Text.h"
#include "MISCIL/TransRecord.h"
#include "MISCIL/TxnCodes.h"
#include "payment/QueryRow.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

struct LoggedDetails {
    std::u16string account;
    std::u16string channelOrderNum;
    std::u16string orderNum;
};

LoggedDetails LookUpDetails(CLocalDb* db, const QueryRow& row, bool refund) {
    LoggedDetails details;
    if (!db) return details;
    std::string orderNum = Utf16ToGbk(row.orderNum);
    SqlRows result;
    bool ok = refund ? db->Query(
                           "select ACCT_ID, SA_SAV1, ORDER_NUM from TBL_TRANS_LOG where "
                           "ORDER_NUM = ? and REC_CREATE_TIME = ?",
                           {orderNum, Utf16ToGbk(row.dateTime)}, result)
                     : db->Query("select ACCT_ID, SA_SAV1 from TBL_TRANS_LOG where ORDER_NUM = ?",
                                 {orderNum}, result);
    // Several rows cannot be told apart: none of them is shown.
    if (!ok || result.rows.size() != 1) return details;
    const std::vector<std::string>& values = result.rows.front();
    // Stored values are cut to the record's fields, as an answer would have brought them.
    details.account = GbkToUtf16(Bounded(values.at(0), sizeof(TransRecord::saAcctNum) - 1));
    details.channelOrderNum =
        GbkToUtf16(Bounded(values.at(1), sizeof(TransRecord::saChannelOrderNum) - 1));
    if (refund)
        details.orderNum = GbkToUtf16(Bounded(values.at(2), sizeof(TransRecord::saOrderNum) - 1));
    return details;
}

LocalTime ParseListedTime(const std::u16string& text) {
    LocalTime time{0, 0, 0, 0, 0, 0, 0};
    std::string narrow = Utf16ToUtf8(text);
    std::sscanf(narrow.c_str(), "%d-%d-%d %d:%d:%d", &time.year, &time.month, &time.day, &time.hour,
                &time.minute, &time.second);
    return time;
}

}  // namespace

bool ReprintSlip(CLocalDb* db, const QueryRow& row, SlipTerminal terminal,
                 const std::filesystem::path& file) {
    const bool refund = row.status == kStatusRefunded;
    LoggedDetails details = LookUpDetails(db, row, refund);

    SlipContent content;
    content.channelLabel = ChannelLabelForName(row.channel);
    content.operationWord = OperationWord(refund ? TxnCode::Refund : TxnCode::Purchase);
    content.time = ParseListedTime(row.dateTime);
    content.account = details.account;
    content.channelOrderNum = details.channelOrderNum;
    content.merchantOrderNum = details.orderNum.empty() ? row.orderNum : details.orderNum;
    content.amount = row.amount;
    terminal.operatorId = Utf16ToGbk(row.operatorId);
    return WriteSlipFile(file, content, terminal);
}

}  // namespace zelvo
