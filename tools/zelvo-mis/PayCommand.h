#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

namespace zelvo {

struct PayOptions {
    std::string amount;  // UTF-8, as typed into the amount box
    std::string code;    // the customer's payment code
    std::string operatorId;
    // Between queries while the customer is still paying.
    std::chrono::milliseconds queryInterval = std::chrono::seconds(5);
};

// Exit codes of `zelvo-mis pay`.
namespace PayOutcome {
inline constexpr int Paid = 0;
inline constexpr int NotPaid = 1;
inline constexpr int Unknown = 2;
}  // namespace PayOutcome

// `zelvo-mis pay`: the payment page's whole flow without a window, on ./MISData.db with its
// journal. One line on `out`: "paid ORDER", "not paid ORDER" or "unknown ORDER" ("not paid"
// alone when nothing was sent); what the operator would have read goes to `err`.
int RunMisPay(const PayOptions& options, std::ostream& out, std::ostream& err);

// `zelvo-mis reconcile`: one round over the orders ./MISData.db holds open, one line per order
// on `out`. 0 when none is left open, 2 when some are, 1 when the database cannot be opened.
int RunMisReconcile(std::ostream& out, std::ostream& err);

}  // namespace zelvo
