#include "ListSettleTestSupport.h"

#include <gtest/gtest.h>

namespace zelvo::test {

void InsertLogRow(CLocalDb& db, const LogRow& row) {
    ASSERT_TRUE(db.Execute(
        "insert into TBL_TRANS_LOG(REC_CREATE_TIME, TRANS_CODE, PROCESS_FLAG, REV_FLAG, "
        "ORIG_ORDER_NUM, ORDER_NUM, OPER_ID, TRANS_AMT, ACCEPT_INS_CODE, RESP_CODE, SYS_DATE, "
        "ACCT_ID, SA_SAV1, SETTLE_TYPE) values(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '20260315', "
        "'6222****1234', 'CH0001', ?)",
        {row.time, std::string(row.revFlag == "3" ? "REFD" : "PURC"), row.processFlag, row.revFlag,
         row.origOrderNum, row.orderNum, row.operatorId, row.amount, row.channel, row.respCode,
         row.settleType}));
}

LogDatabase::LogDatabase() {
    MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
    EXPECT_TRUE(m_db.Open(u"MISData.db"));
}

}  // namespace zelvo::test
