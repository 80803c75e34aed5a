#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "payment/MessageKind.h"
#include "payment/QueryRow.h"

namespace zelvo {

// What the transaction list logic needs from its page: the grid, the search box and the banner.
class TransactionListView {
public:
    virtual ~TransactionListView() = default;

    // Replaces the grid's rows and redraws it; the selection is cleared.
    virtual void ShowRows(const std::vector<QueryRow>& rows) = 0;
    virtual void SelectRow(std::size_t index) = 0;
    virtual std::optional<std::size_t> SelectedRow() const = 0;
    virtual void FocusGrid() = 0;

    virtual std::u16string SearchText() const = 0;
    virtual void SetSearchText(const std::u16string& text) = 0;
    virtual void FocusSearchBox() = 0;

    virtual void ShowMessage(MessageKind kind, const std::u16string& text) = 0;
};

}  // namespace zelvo
