#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "shell/controls/ConfirmDialog.h"

namespace zelvo {

class ActionButton;
class AmountDisplay;
class AmountEdit;
class BusyIndicator;
class PaymentFlow;
class PaymentLogList;
class SkinEdit;
class SkinLabel;

// The payment page's controls: the amount and payment-code boxes, the large amount, "确认支付"
// and the payment log. Keys and clicks go to the payment flow.
class PaymentPanel : public QWidget {
    Q_OBJECT
public:
    explicit PaymentPanel(QWidget* parent = nullptr);
    ~PaymentPanel() override;

    void SetFlow(PaymentFlow* flow) { m_flow = flow; }
    // While it answers true the confirm button is drawn grey with a turning ring on it.
    void SetBusyCheck(std::function<bool()> busy);

    AmountEdit* AmountBox() const { return m_amountBox; }
    SkinEdit* CodeBox() const { return m_codeBox; }
    AmountDisplay* Display() const { return m_display; }
    ActionButton* ConfirmButton() const { return m_confirm; }
    BusyIndicator* BusyCue() const { return m_busy; }
    PaymentLogList* LogList() const { return m_log; }
    bool AmountBoxFocused() const;

    // The waiting prompt in query mode: "查询结果" asks the gateway and leaves it open;
    // "取消支付" and Escape close it and cancel the payment. The last one shown stays reachable.
    void OpenWaitingPrompt(IconKind iconKind, const QString& text, const QString& queryButton,
                           const QString& cancelButton);
    void CloseWaitingPrompt();
    ConfirmDialog* WaitingPrompt() const { return m_prompt; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControls();
    void OnPromptFinished(int result);

    PaymentFlow* m_flow = nullptr;
    SkinLabel* m_amountLabel;
    AmountEdit* m_amountBox;
    SkinLabel* m_codeLabel;
    SkinEdit* m_codeBox;
    AmountDisplay* m_display;
    ActionButton* m_confirm;
    BusyIndicator* m_busy;
    PaymentLogList* m_log;
    QPointer<ConfirmDialog> m_prompt;
    bool m_promptClosedByFlow = false;
};

}  // namespace zelvo
