#include "payment/PaymentInput.h"

#include "base/Text.h"

namespace zelvo {
namespace {

constexpr size_t kCodeMinLength = 10;
constexpr size_t kCodeMaxLength = 20;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsTypingKey(int key) {
    return (key >= 0 && key <= 9) || key == KeypadKey::Dot;
}

}  // namespace

std::u16string ValidateAmount(std::u16string& text) {
    text = TrimWhitespace(text);
    if (text.empty()) return u"金额不能为空！";
    for (char16_t c : text) {
        if (!IsDigit(c) && c != u'.') return u"金额不能包含非数字字符！";
    }
    // Only the first "." counts, and only after at least one digit: ".5" and "1..5" pass.
    size_t dot = text.find(u'.');
    if (dot != std::u16string::npos && dot > 0 && text.size() - dot - 1 > kAmountMaxDecimals) {
        return u"金额小数位不能超过两位小数！";
    }
    return {};
}

std::u16string ValidatePaymentCode(std::u16string& text) {
    text = TrimWhitespace(text);
    if (text.size() < kCodeMinLength || text.size() > kCodeMaxLength) return u"二维码长度不正确！";
    for (char16_t c : text) {
        if (!IsDigit(c)) return u"二维码不能为非数字字符！";
    }
    return {};
}

bool ApplyKeypadKey(std::u16string& text, int key) {
    if (key >= 0 && key <= 9) {
        text.push_back(static_cast<char16_t>(u'0' + key));
    } else if (key == KeypadKey::Dot) {
        text.push_back(u'.');
    } else if (key == KeypadKey::Backspace) {
        if (!text.empty()) text.pop_back();
    } else if (key == KeypadKey::Reset) {
        text.clear();
    } else {
        return false;
    }
    return true;
}

bool ApplyAmountKeypadKey(std::u16string& text, int key) {
    if (IsTypingKey(key)) {
        if (text.size() >= kAmountMaxLength) return false;
        size_t dot = text.find(u'.');
        if (dot != std::u16string::npos && text.size() - dot - 1 >= kAmountMaxDecimals)
            return false;
    }
    return ApplyKeypadKey(text, key);
}

}  // namespace zelvo
