#include "tools/zelvo-mis/HeadlessPayment.h"

namespace zelvo {

UiPoster WorkQueue::Poster() {
    return [this](std::function<void()> work) {
        {
            std::lock_guard lock(m_mutex);
            m_work.push_back(std::move(work));
        }
        m_posted.notify_one();
    };
}

bool WorkQueue::RunOne(std::chrono::milliseconds timeout) {
    std::function<void()> work;
    {
        std::unique_lock lock(m_mutex);
        if (!m_posted.wait_for(lock, timeout, [this] { return !m_work.empty(); })) return false;
        work = std::move(m_work.front());
        m_work.pop_front();
    }
    work();
    return true;
}

HeadlessPaymentView::HeadlessPaymentView(std::u16string amount, std::u16string code,
                                         std::function<void(const std::u16string&)> messages)
    : m_amount(std::move(amount)), m_code(std::move(code)), m_messages(std::move(messages)) {}

void HeadlessPaymentView::ShowMessage(MessageKind, const std::u16string& text) {
    if (m_messages) m_messages(text);
}

void HeadlessPaymentView::ShowNotice(IconKind, const std::u16string& text, const std::u16string&) {
    if (m_messages) m_messages(text);
}

bool HeadlessPaymentView::ShowConfirm(IconKind, const std::u16string& text, const std::u16string&,
                                      const std::u16string&) {
    if (m_messages) m_messages(text);
    return false;
}

void HeadlessPaymentView::OpenWaitingPrompt(IconKind, const std::u16string& text, const std::u16string&,
                                            const std::u16string&) {
    if (!m_waitingSince) m_waitingSince = std::chrono::steady_clock::now();
    if (m_messages) m_messages(text);
}

void HeadlessPaymentView::ShowPaymentLog(const std::deque<PaymentLogLine>& lines) {
    if (m_messages && !lines.empty()) m_messages(lines.back().text);
}

}  // namespace zelvo
