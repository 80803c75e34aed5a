#pragma once

#include <vector>

#include <QWidget>

class QLineEdit;

namespace zelvo {

class TabButton;

// The small white pop-up of the query page (refund and settlement prompts): 380 x 242 pixels
// with a dark band across its top, its edit boxes, and a confirm and a cancel button. It lies
// over the page area without blocking it and takes its own keys. Tab cycles through the boxes and
// both buttons, Enter moves from box to box and confirms from the last one, Escape cancels.
class PopupPrompt : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 380;
    static constexpr int kHeight = 242;

    PopupPrompt(const QString& confirmCaption, const QString& cancelCaption, QWidget* parent);

    // Shows it centred on its page, 22 pixels above the centre, in front of the main window.
    void Open();
    // Hides it and gives the keyboard back to the main window.
    void Close();
    // A key of the on-screen keypad: applied to the focused box; "确  认" acts like Enter.
    void HandleKeypadKey(int code);

    TabButton* ConfirmButton() const { return m_confirm; }
    TabButton* CancelButton() const { return m_cancel; }
    const std::vector<QLineEdit*>& Boxes() const { return m_boxes; }

Q_SIGNALS:
    void ConfirmRequested();
    void CancelRequested();

protected:
    void AddBox(QLineEdit* box);
    // Where the focus goes when the prompt opens.
    virtual void FocusFirst() = 0;
    // Enter while the confirm button has the focus.
    virtual void EnterOnConfirm() {}
    // Applies a digit, ".", backspace or reset to a box.
    virtual void ApplyKeypadToBox(QLineEdit& box, int code);
    void FocusControl(QWidget* control);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QWidget*> FocusCycle() const;
    void OnEnter(QWidget* from);

    TabButton* m_confirm;
    TabButton* m_cancel;
    std::vector<QLineEdit*> m_boxes;
};

}  // namespace zelvo
