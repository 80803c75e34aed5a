#include "shell/controls/SkinDialog.h"

#include <QHideEvent>
#include <QPainter>

#include "shell/controls/Skin.h"
#include "shell/controls/SkinLabel.h"

namespace zelvo {
namespace {

constexpr int kWidth = 368;
constexpr int kHeight = 242;
constexpr int kStrip = 20;

QString KindPicture(IconKind kind) {
    switch (kind) {
        case IconKind::Warning:
            return QStringLiteral("img16.png");
        case IconKind::Success:
            return QStringLiteral("img17.png");
        case IconKind::Attention:
            return QStringLiteral("img18.png");
    }
    return QString();
}

}  // namespace

SkinDialog::SkinDialog(IconKind kind, const QString& text, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_kind(kind),
      m_text(new SkinLabel(text, 16, Qt::AlignHCenter, this)) {
    setModal(true);
    setFixedSize(kWidth, kHeight);
    m_text->setGeometry(0, 120, kWidth, 16);
}

QString SkinDialog::Text() const {
    return m_text->Text();
}

DialogResult SkinDialog::Answer() const {
    return result() == static_cast<int>(DialogResult::Confirm) ? DialogResult::Confirm
                                                               : DialogResult::Cancel;
}

void SkinDialog::Finish(DialogResult answer) {
    done(static_cast<int>(answer));
}

void SkinDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(0, 0, width(), kStrip, skin::DarkBar);
    // An outline, so the dialog's edge does not vanish over the white panels beneath it.
    painter.setPen(QPen(skin::Grey, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QString name = KindPicture(m_kind);
    if (!name.isEmpty()) painter.drawPixmap(143, kStrip + 40, skin::LoadPicture(name));
}

void SkinDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // The keyboard goes back to the window the dialog was opened over, so that the page keys
    // work without a click; without a window manager nobody else would hand it back.
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!event->spontaneous() && owner && owner->isVisible() && !owner->isMinimized()) {
        owner->activateWindow();
    }
}

void SkinDialog::reject() {
    Finish(DialogResult::Cancel);
}

}  // namespace zelvo
