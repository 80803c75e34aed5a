#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "payment/TransactionListView.h"

namespace zelvo::test {

// The grid of the query and refund page: keeps what the list asked of it.
class RecordingListView : public TransactionListView {
public:
    void ShowRows(const std::vector<QueryRow>& rows) override {
        shown = rows;
        selected.reset();
        ++redraws;
    }
    void SelectRow(std::size_t index) override { selected = index; }
    std::optional<std::size_t> SelectedRow() const override { return selected; }
    void FocusGrid() override { focus = "grid"; }
    std::u16string SearchText() const override { return search; }
    void SetSearchText(const std::u16string& text) override { search = text; }
    void FocusSearchBox() override { focus = "search"; }
    void ShowMessage(MessageKind kind, const std::u16string& text) override {
        messages.push_back({kind, text});
    }

    std::vector<QueryRow> shown;
    std::optional<std::size_t> selected;
    int redraws = 0;
    std::u16string search;
    std::string focus;
    std::vector<std::pair<MessageKind, std::u16string>> messages;
};

}  // namespace zelvo::test
