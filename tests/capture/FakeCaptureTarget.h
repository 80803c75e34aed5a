#pragma once

#include <string>
#include <vector>

#include <QString>

#include "capture/CaptureTarget.h"

namespace zelvo::test {

// Records what the capture does to the pages, and holds the payment page's three fields.
class FakeCaptureTarget : public CaptureTarget {
public:
    bool AcceptsCapturedAmount() const override { return paymentPageCurrent; }
    void ApplyFocusRule() override {
        calls.push_back("focus");
        codeBoxFocused = !amount.isEmpty();
    }
    void PutAmount(const QString& text) override {
        calls.push_back("amount " + text.toStdString());
        amount = display = text;
        codeBoxFocused = true;
    }
    void ClearPaymentFields() override {
        calls.push_back("clear");
        amount.clear();
        display.clear();
        code.clear();
    }
    void ShowNotice(const QString& text) override {
        calls.push_back("notice " + text.toStdString());
    }

    bool paymentPageCurrent = true;
    QString amount;
    QString display;
    QString code;
    bool codeBoxFocused = false;
    std::vector<std::string> calls;
};

}  // namespace zelvo::test
