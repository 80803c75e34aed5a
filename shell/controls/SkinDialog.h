#pragma once

#include <QDialog>

namespace zelvo {

class SkinLabel;

// What a dialog closes with.
namespace DialogResult {
inline constexpr int Confirm = 1;
inline constexpr int Cancel = 2;
}  // namespace DialogResult

// The frameless 368 x 242 pop-up both message dialogs share: a dark strip along the top, the
// picture of its kind (0, 1 or 2) and one centred line of text.
class SkinDialog : public QDialog {
    Q_OBJECT
public:
    SkinDialog(int kind, const QString& text, QWidget* owner);

    QString Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

public Q_SLOTS:
    // Closing by the window system counts as the cancel answer.
    void reject() override;

private:
    int m_kind;
    SkinLabel* m_text;
};

}  // namespace zelvo
