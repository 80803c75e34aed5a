#include <gtest/gtest.h>

#include <cstdio>

#include "ListSettleTestSupport.h"
#include "payment/TransactionList.h"
#include "tests/support/RecordingListView.h"

namespace zelvo {
namespace {

using test::RecordingListView;

std::string Time(int second) {
    char text[32];
    std::snprintf(text, sizeof text, "2026-03-15 %02d:%02d:%02d", second / 3600, second / 60 % 60,
                  second % 60);
    return text;
}

std::string Order(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "202603150000%08d", n);
    return text;
}

class TransactionListTest : public ::testing::Test {
protected:
    TransactionList MakeList() {
        return TransactionList(
            [this]() {
                ++m_statements;
                return &m_log.Db();
            },
            m_view);
    }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) {
            test::LogRow row;
            row.time = Time(i);
            row.orderNum = Order(i);
            test::InsertLogRow(m_log.Db(), row);
        }
    }

    test::LogDatabase m_log;
    RecordingListView m_view;
    int m_statements = 0;
};

TEST_F(TransactionListTest, EmptyLogShowsAnEmptyGridAndClearsTheSearchBox) {
    m_view.search = u"123";
    TransactionList list = MakeList();
    list.RefreshList();
    EXPECT_TRUE(m_view.shown.empty());
    EXPECT_EQ(m_view.redraws, 1);
    EXPECT_EQ(m_view.search, u"");
    EXPECT_TRUE(m_view.messages.empty());
}

TEST_F(TransactionListTest, LongLogShowsTheNewestHundredNewestFirst) {
    AddRows(150);
    TransactionList list = MakeList();
    list.RefreshList();
    ASSERT_EQ(m_view.shown.size(), 100u);
    EXPECT_EQ(m_view.shown.front().dateTime, u"2026-03-15 00:02:29");
    EXPECT_EQ(m_view.shown.back().dateTime, u"2026-03-15 00:00:50");
    EXPECT_EQ(m_view.shown.front().status, u"付款成功");
    EXPECT_EQ(m_view.shown.front().channel, u"微信");
    EXPECT_EQ(m_view.shown.front().amount, u"12.50");
}

TEST_F(TransactionListTest, RowsOfTheSameSecondListTheLaterWrittenFirst) {
    test::LogRow first;
    first.orderNum = "A1";
    test::LogRow second = first;
    second.orderNum = "A2";
    test::InsertLogRow(m_log.Db(), first);
    test::InsertLogRow(m_log.Db(), second);
    TransactionList list = MakeList();
    list.RefreshList();
    ASSERT_EQ(m_view.shown.size(), 2u);
    EXPECT_EQ(m_view.shown[0].orderNum, u"A2");
}

TEST_F(TransactionListTest, FailingListQueryLeavesTheGridEmptySilently) {
    AddRows(3);
    TransactionList list = MakeList();
    list.RefreshList();
    ASSERT_TRUE(m_log.Db().Execute("drop table TBL_TRANS_LOG"));
    list.RefreshList();
    EXPECT_TRUE(m_view.shown.empty());
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_TRUE(m_view.messages.empty());

    RecordingListView view;
    TransactionList noDatabase([] { return nullptr; }, view);
    noDatabase.RefreshList();
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(TransactionListTest, EmptySearchTextIsRefused) {
    TransactionList list = MakeList();
    list.RefreshList();
    list.SearchOrder();
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0].first, MessageKind::Error);
    EXPECT_EQ(m_view.messages[0].second, u"查询条件为空！");
    EXPECT_EQ(m_view.focus, "search");
}

TEST_F(TransactionListTest, ListedOrderIsSelectedFromTheTopWithoutAQuery) {
    AddRows(20);
    TransactionList list = MakeList();
    list.RefreshList();
    const int statements = m_statements;
    m_view.search = u"0000001";  // orders 10 to 19 contain it; 19 is the newest
    list.SearchOrder();
    EXPECT_EQ(m_statements, statements);
    EXPECT_EQ(m_view.selected, 0u);
    EXPECT_EQ(m_view.focus, "grid");
    EXPECT_EQ(list.Rows().size(), 20u);
    m_view.search = u"00000003";
    list.SearchOrder();
    EXPECT_EQ(m_view.selected, 16u);
}

TEST_F(TransactionListTest, UnlistedOrderAppendsTheLastRowTheQueryDelivers) {
    test::LogRow old;
    old.time = "2026-01-01 08:00:00";
    old.orderNum = "OLD-123-A";
    old.amount = 3.00;
    test::InsertLogRow(m_log.Db(), old);
    old.time = "2026-01-02 08:00:00";
    old.orderNum = "OLD-123-B";
    old.revFlag = "3";
    old.amount = -3.00;
    test::InsertLogRow(m_log.Db(), old);
    AddRows(100);

    TransactionList list = MakeList();
    list.RefreshList();
    m_view.search = u"123";
    list.SearchOrder();
    ASSERT_EQ(list.Rows().size(), 101u);
    const QueryRow& appended = list.Rows().back();
    EXPECT_EQ(appended.orderNum, u"OLD-123-B");
    EXPECT_EQ(appended.status, u"已退款");
    // Stored as the integer -3 by the column's affinity, shown as the slip printed it.
    EXPECT_EQ(appended.amount, u"-3.00");
    EXPECT_EQ(appended.origOrderNum, "");  // the search does not read it
    EXPECT_EQ(m_view.shown.size(), 101u);
    EXPECT_EQ(m_view.selected, 100u);
    EXPECT_EQ(m_view.focus, "grid");
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_EQ(list.SelectedRow(), &list.Rows().back());

    // The found row stays until the next refresh.
    m_view.search = u"OLD-123-B";
    list.SearchOrder();
    EXPECT_EQ(list.Rows().size(), 101u);
    list.RefreshList();
    EXPECT_EQ(list.Rows().size(), 100u);
}

TEST_F(TransactionListTest, ListScanIsCaseSensitiveButTheLogQueryIsNot) {
    test::LogRow row;
    row.orderNum = "ABC-1";
    test::InsertLogRow(m_log.Db(), row);
    TransactionList list = MakeList();
    list.RefreshList();
    m_view.search = u"abc";
    list.SearchOrder();
    ASSERT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.Rows()[1].orderNum, u"ABC-1");
}

TEST_F(TransactionListTest, UnknownOrderOrQuoteOrOverlongTextIsNotFound) {
    AddRows(5);
    TransactionList list = MakeList();
    list.RefreshList();
    for (const std::u16string& text :
         std::vector<std::u16string>{u"999", u"12'3", u"' or '1'='1", std::u16string(65, u'0')}) {
        m_view.messages.clear();
        m_view.search = text;
        list.SearchOrder();
        ASSERT_EQ(m_view.messages.size(), 1u);
        EXPECT_EQ(m_view.messages[0].second, u"对不起，没有查到该订单号！");
        EXPECT_EQ(m_view.messages[0].first, MessageKind::Error);
        EXPECT_EQ(m_view.focus, "search");
        EXPECT_EQ(m_view.search, text);
        EXPECT_EQ(list.Rows().size(), 5u);
    }
    EXPECT_EQ(m_log.Text("select count(*) from TBL_TRANS_LOG"), "5");
}

TEST_F(TransactionListTest, QuoteInAStoredOrderNumberIsFoundLikeAnyOther) {
    test::LogRow row;
    row.orderNum = "O'NEIL-7";
    row.time = "2026-01-01 00:00:00";
    test::InsertLogRow(m_log.Db(), row);
    AddRows(100);
    TransactionList list = MakeList();
    list.RefreshList();
    m_view.search = u"O'NEIL";
    list.SearchOrder();
    ASSERT_EQ(list.Rows().size(), 101u);
    EXPECT_EQ(list.Rows().back().orderNum, u"O'NEIL-7");
}

TEST_F(TransactionListTest, RefundRowGoesOnTopAndSelectionFollowsTheView) {
    AddRows(2);
    TransactionList list = MakeList();
    list.RefreshList();
    EXPECT_EQ(list.SelectedRow(), nullptr);
    QueryRow refund;
    refund.status = u"已退款";
    refund.amount = u"-5.00";
    list.AddRowAtTop(refund);
    ASSERT_EQ(m_view.shown.size(), 3u);
    EXPECT_EQ(m_view.shown[0].amount, u"-5.00");
    m_view.SelectRow(0);
    ASSERT_NE(list.SelectedRow(), nullptr);
    EXPECT_EQ(list.SelectedRow()->status, u"已退款");
    m_view.SelectRow(7);
    EXPECT_EQ(list.SelectedRow(), nullptr);
}

}  // namespace
}  // namespace zelvo
