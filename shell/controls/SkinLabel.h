#pragma once

#include <QColor>
#include <QWidget>

#include "shell/controls/Skin.h"

namespace zelvo {

// Text on one line in a given size and alignment; optionally on a fill colour.
class SkinLabel : public QWidget {
    Q_OBJECT
public:
    SkinLabel(const QString& text, int fontSize, Qt::Alignment alignment = Qt::AlignLeft,
              QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetColour(const QColor& colour);
    void SetFill(const QColor& fill);
    void SetBold(bool bold);
    void SetFace(skin::Face face);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    int m_fontSize;
    Qt::Alignment m_alignment;
    QColor m_colour = skin::LabelText;
    QColor m_fill;
    bool m_bold = false;
    skin::Face m_face = skin::Face::Song;
};

}  // namespace zelvo
