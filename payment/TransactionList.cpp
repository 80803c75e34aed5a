#include "payment/TransactionList.h"

#include <cstdint>

#include "base/CodePage.h"
#include "payment/TransactionListView.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

// Order numbers are far shorter; a longer search text cannot match and is not sent as one.
constexpr std::size_t kSearchTextCapacity = 64;

// The index on REC_CREATE_TIME yields these rows without reading the rest of the log; rowid
// orders rows written within the same second.
constexpr char kNewestRowsSql[] =
    "select REC_CREATE_TIME, PROCESS_FLAG, OPER_ID, ORDER_NUM, TRANS_AMT, ACCEPT_INS_CODE, "
    "TRANS_CODE, RESP_CODE, REV_FLAG, ORIG_ORDER_NUM from TBL_TRANS_LOG "
    "order by REC_CREATE_TIME desc, rowid desc limit ?";

// Of all rows whose order number is like the text, the one a scan of the table delivers last:
// the row written last. "+rowid" keeps SQLite from walking the table backwards, so the inner
// scan reads the much smaller order-number index instead.
constexpr char kOrderSearchSql[] =
    "select REC_CREATE_TIME, PROCESS_FLAG, OPER_ID, ORDER_NUM, TRANS_AMT, ACCEPT_INS_CODE, "
    "TRANS_CODE, RESP_CODE, REV_FLAG from TBL_TRANS_LOG where rowid = "
    "(select max(+rowid) from TBL_TRANS_LOG where ORDER_NUM like ?)";

}  // namespace

TransactionList::TransactionList(std::function<CLocalDb*()> database, TransactionListView& view)
    : m_database(std::move(database)), m_view(view) {}

void TransactionList::RefreshList() {
    m_rows.clear();
    SqlRows result;
    CLocalDb* db = m_database();
    if (db != nullptr &&
        db->Query(kNewestRowsSql, {static_cast<std::int64_t>(kListedRows)}, result)) {
        for (const auto& columns : result.rows) m_rows.push_back(QueryRowFromColumns(columns));
    }
    m_view.ShowRows(m_rows);
    m_view.SetSearchText(std::u16string());
}

void TransactionList::SearchOrder() {
    const std::u16string text = m_view.SearchText();
    if (text.empty()) {
        m_view.ShowMessage(MessageKind::Error, kSearchEmptyText);
        m_view.FocusSearchBox();
        return;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].orderNum.find(text) != std::u16string::npos) {
            m_view.SelectRow(i);
            m_view.FocusGrid();
            return;
        }
    }
    QueryRow found;
    if (!FindLoggedOrder(text, found)) {
        NotFound();
        return;
    }
    m_rows.push_back(std::move(found));
    m_view.ShowRows(m_rows);
    m_view.SelectRow(m_rows.size() - 1);
    m_view.FocusGrid();
}

bool TransactionList::FindLoggedOrder(const std::u16string& text, QueryRow& row) const {
    if (text.size() > kSearchTextCapacity) return false;
    CLocalDb* db = m_database();
    SqlRows result;
    // The text keeps LIKE's own wildcards; a quote in it is just a character.
    if (db == nullptr || !db->Query(kOrderSearchSql, {"%" + Utf16ToGbk(text) + "%"}, result) ||
        result.rows.empty()) {
        return false;
    }
    row = QueryRowFromColumns(result.rows.back());
    return !row.dateTime.empty();
}

void TransactionList::NotFound() {
    m_view.ShowMessage(MessageKind::Error, kOrderNotFoundText);
    m_view.FocusSearchBox();
}

const QueryRow* TransactionList::SelectedRow() const {
    const auto index = m_view.SelectedRow();
    return (index && *index < m_rows.size()) ? &m_rows[*index] : nullptr;
}

void TransactionList::AddRowAtTop(QueryRow row) {
    m_rows.insert(m_rows.begin(), std::move(row));
    m_view.ShowRows(m_rows);
}

}  // namespace zelvo
