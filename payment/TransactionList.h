#pragma once

#include <functional>
#include <string>
#include <vector>

#include "payment/QueryRow.h"

namespace zelvo {

class CLocalDb;
class TransactionListView;

inline constexpr std::size_t kListedRows = 100;
inline constexpr char16_t kSearchEmptyText[] = u"查询条件为空！";
inline constexpr char16_t kOrderNotFoundText[] = u"对不起，没有查到该订单号！";

// The list logic of the query and refund page: the newest log rows, the order search, and the
// rows the refund flow reads and adds.
class TransactionList {
public:
    // `database` gives the local database; null counts as a failing statement.
    TransactionList(std::function<CLocalDb*()> database, TransactionListView& view);

    // Shows the newest 100 log rows, newest first, and empties the search box. A failing
    // statement leaves the grid empty without a message.
    void RefreshList();

    // Selects the first listed row whose order number contains the search text; otherwise
    // appends the matching log row written last, or tells the operator that there is none.
    void SearchOrder();

    const std::vector<QueryRow>& Rows() const { return m_rows; }
    // The row selected in the grid; null when there is none.
    const QueryRow* SelectedRow() const;
    // A row the page learnt of without reading the log (a confirmed refund) goes on top.
    void AddRowAtTop(QueryRow row);

private:
    bool FindLoggedOrder(const std::u16string& text, QueryRow& row) const;
    void NotFound();

    std::function<CLocalDb*()> m_database;
    TransactionListView& m_view;
    std::vector<QueryRow> m_rows;
};

}  // namespace zelvo
