#include "payment/RequestBuilders.h"

#include <algorithm>
#include <cstring>

#include "base/CodePage.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/TxnCodes.h"
#include "payment/OrderNumber.h"

namespace zelvo {
namespace {

constexpr size_t kCurrencyLength = 3;

// The fields every builder writes; returns the new order number.
std::string StartRequest(std::string_view txnType, std::string_view amount, RequestBuffer& buffer) {
    std::string orderNumber = NewOrderNumber();
    PutMisTextField(buffer.data(), MisRequestField::OrderNum, orderNumber);
    PutMisTextField(buffer.data(), MisRequestField::TxnType, txnType);
    PutMisTextField(buffer.data(), MisRequestField::ChannelCode, kOpenChannelCode);
    PutMisTextField(buffer.data(), MisRequestField::MisTransAmt, amount);
    return orderNumber;
}

}  // namespace

void ClearRequest(RequestBuffer& buffer) {
    buffer.fill('\0');
    std::memset(buffer.data(), ' ', kMisRequestMinLength);
}

int BuildPurchase(std::string_view amount, std::string_view paymentCode, RequestBuffer& buffer,
                  std::u16string_view currency) {
    std::string orderNumber = StartRequest(TxnCode::Purchase, amount, buffer);
    PutMisTextField(buffer.data(), MisRequestField::ScanCode, paymentCode);
    const std::string currencyText = Utf16ToGbk(currency.substr(0, kCurrencyLength));
    // The currency ends the text: an empty one leaves the 713 characters without it.
    std::memcpy(buffer.data() + MisRequestField::Currency.offset, currencyText.data(),
                std::min(currencyText.size(), MisRequestField::Currency.width));
    LastOrderNumber() = orderNumber;
    LastPurchaseOrderNumber() = orderNumber;
    return 1;
}

int BuildQuery(std::string_view origTxnType, std::string_view origOrderNum, std::string_view amount,
               RequestBuffer& buffer) {
    StartRequest(TxnCode::Query, amount, buffer);
    PutMisTextField(buffer.data(), MisRequestField::OrigOrderNum, origOrderNum);
    PutMisTextField(buffer.data(), MisRequestField::OrigTxnType, origTxnType);
    return 1;
}

int BuildRefund(std::string_view amount, std::string_view origOrderNum, RequestBuffer& buffer) {
    LastOrderNumber() = StartRequest(TxnCode::Refund, amount, buffer);
    PutMisTextField(buffer.data(), MisRequestField::OrigOrderNum, origOrderNum);
    return 1;
}

int BuildCancel(std::string_view amount, std::string_view origOrderNum, RequestBuffer& buffer) {
    StartRequest(TxnCode::Cancel, amount, buffer);
    PutMisTextField(buffer.data(), MisRequestField::OrigOrderNum, origOrderNum);
    return 1;
}

std::string_view RequestText(const RequestBuffer& buffer) {
    return std::string_view(buffer.data(), strnlen(buffer.data(), buffer.size() - 1));
}

}  // namespace zelvo
