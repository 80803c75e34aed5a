#include "shell/controls/SkinDialog.h"

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
        case IconKind::Question:
            return QStringLiteral("img16.png");
        case IconKind::Success:
            return QStringLiteral("img17.png");
        case IconKind::Warning:
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
    QString name = KindPicture(m_kind);
    if (!name.isEmpty()) painter.drawPixmap(143, kStrip + 40, skin::LoadPicture(name));
}

void SkinDialog::reject() {
    Finish(DialogResult::Cancel);
}

}  // namespace zelvo
