#pragma once

#include <QDialog>

#include "payment/IconKind.h"

namespace zelvo {

class SkinLabel;

// What a dialog closes with (its QDialog result).
enum class DialogResult { Confirm = 1, Cancel = 2 };

// The frameless 368 x 242 pop-up both message dialogs share: a dark strip along the top, the
// picture of its kind and one centred line of text.
class SkinDialog : public QDialog {
    Q_OBJECT
public:
    SkinDialog(IconKind kind, const QString& text, QWidget* owner);

    QString Text() const;
    // The answer it closed with; Cancel for any result other than Confirm.
    DialogResult Answer() const;
    void Finish(DialogResult answer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

public Q_SLOTS:
    // Closing by the window system counts as the cancel answer.
    void reject() override;

private:
    IconKind m_kind;
    SkinLabel* m_text;
};

}  // namespace zelvo
