#include "tools/draw-pictures/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace zelvo::pictures {
namespace {

const QColor kAccent{0x00, 0xBC, 0xD4};
const QColor kDark{0x4D, 0x4D, 0x4D};

QImage Blank(int width, int height, const QColor& fill = Qt::transparent) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void Smooth(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont Face(int pixelSize, bool bold = true) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A rounded tile with a short caption: the brand marks of the wallets, in our own plain style.
QImage BrandTile(const QColor& colour, const QString& caption) {
    QImage image = Blank(96, 30);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 95, 29), 6, 6);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(7, 7, 16, 16));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(11, 11, 8, 8));
    painter.setPen(Qt::white);
    painter.setFont(Face(14));
    painter.drawText(QRect(28, 0, 66, 30), Qt::AlignCenter, caption);
    return image;
}

// A coin with a check mark: the logo of the cashier.
void DrawLogo(QPainter& painter, const QRectF& box, const QColor& ring) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ring);
    painter.drawEllipse(box);
    QPen mark(Qt::white, box.width() / 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(mark);
    QPainterPath check;
    check.moveTo(box.left() + box.width() * 0.28, box.top() + box.height() * 0.52);
    check.lineTo(box.left() + box.width() * 0.45, box.top() + box.height() * 0.68);
    check.lineTo(box.left() + box.width() * 0.74, box.top() + box.height() * 0.34);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(check);
}

QImage Logo(int size, const QColor& ring) {
    QImage image = Blank(size, size);
    QPainter painter(&image);
    Smooth(painter);
    DrawLogo(painter, QRectF(1, 1, size - 2, size - 2), ring);
    return image;
}

QImage LoginLogo() {
    QImage image = Blank(75, 75);
    QPainter painter(&image);
    Smooth(painter);
    DrawLogo(painter, QRectF(4, 4, 67, 67), kAccent);
    return image;
}

QImage BannerMark() {
    QImage image = Blank(170, 30);
    QPainter painter(&image);
    Smooth(painter);
    DrawLogo(painter, QRectF(1, 1, 28, 28), kAccent);
    painter.setPen(QColor(0x4C, 0x4C, 0x4C));
    painter.setFont(Face(18));
    painter.drawText(QRect(36, 0, 134, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("扫码收款"));
    return image;
}

QImage Operator() {
    QImage image = Blank(14, 14);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(4, 0.5, 6, 6));
    painter.drawPie(QRectF(1, 7, 12, 13), 0, 180 * 16);
    return image;
}

QImage TitleButton(bool close) {
    QImage image = Blank(15, 15);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        painter.drawLine(QPointF(3, 3), QPointF(12, 12));
        painter.drawLine(QPointF(12, 3), QPointF(3, 12));
    } else {
        painter.drawLine(QPointF(3, 11), QPointF(12, 11));
    }
    return image;
}

QImage Keyboard() {
    QImage image = Blank(30, 20);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(1, 1, 28, 18), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 6; ++column) {
            painter.drawRect(QRectF(4 + column * 4, 4 + row * 4, 2.5, 2.5));
        }
    }
    painter.drawRect(QRectF(8, 13, 14, 2.5));
    return image;
}

QImage Network(bool connected) {
    QImage image = Blank(22, 20);
    QPainter painter(&image);
    Smooth(painter);
    QColor colour = connected ? QColor(0x50, 0xE3, 0xC2) : QColor(0x9B, 0x9B, 0x9B);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int bar = 0; bar < 4; ++bar) {
        int height = 5 + bar * 4;
        painter.drawRect(QRectF(1 + bar * 5, 19 - height, 3.5, height));
    }
    if (!connected) {
        painter.setPen(QPen(QColor(0xFB, 0x65, 0x37), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(2, 2), QPointF(20, 18));
    }
    return image;
}

// Kind 0 (failures, the re-login question): an orange warning sign. Kind 1: a green success
// check. Kind 2 (the waiting prompt, questions, errors needing attention): a blue information
// mark, never a cross, so a payment about to succeed does not read as failed.
QImage DialogMark(int kind) {
    QImage image = Blank(82, 52);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(Qt::NoPen);
    if (kind == 0) {
        painter.setPen(
            QPen(QColor(0xF5, 0x8A, 0x1F), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(0xF5, 0x8A, 0x1F));
        painter.drawPolygon(QPolygonF({QPointF(41, 4), QPointF(66, 48), QPointF(16, 48)}));
        painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(41, 18), QPointF(41, 32));
        painter.drawPoint(QPointF(41, 41));
        return image;
    }
    if (kind == 1) {
        painter.setBrush(QColor(0x50, 0xE3, 0xC2));
        painter.drawEllipse(QRectF(16, 1, 50, 50));
        painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath check;
        check.moveTo(29, 27);
        check.lineTo(38, 36);
        check.lineTo(54, 18);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(check);
        return image;
    }
    painter.setBrush(QColor(0x1E, 0x88, 0xE5));
    painter.drawEllipse(QRectF(16, 1, 50, 50));
    painter.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoint(QPointF(41, 14));
    painter.drawLine(QPointF(41, 23), QPointF(41, 39));
    return image;
}

// A block pattern standing for the service code of the contact pop-up.
QImage ContactCode() {
    QImage image = Blank(100, 100, Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kDark);
    auto finder = [&](int x, int y) {
        painter.setBrush(kDark);
        painter.drawRect(x, y, 21, 21);
        painter.setBrush(Qt::white);
        painter.drawRect(x + 3, y + 3, 15, 15);
        painter.setBrush(kDark);
        painter.drawRect(x + 6, y + 6, 9, 9);
    };
    finder(8, 8);
    finder(71, 8);
    finder(8, 71);
    unsigned seed = 20261207u;
    for (int y = 8; y < 92; y += 4) {
        for (int x = 8; x < 92; x += 4) {
            bool inFinder = (x < 32 && y < 32) || (x > 67 && y < 32) || (x < 32 && y > 67);
            seed = seed * 1103515245u + 12345u;
            if (!inFinder && ((seed >> 16) & 1)) painter.drawRect(x, y, 4, 4);
        }
    }
    return image;
}

// White padlock on black: the restore icon keys the black out.
QImage Lock() {
    QImage image = Blank(65, 65, Qt::black);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(21, 12, 23, 26), 0, 180 * 16);
    painter.drawLine(QPointF(21, 25), QPointF(21, 30));
    painter.drawLine(QPointF(44, 25), QPointF(44, 30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(15, 29, 35, 25), 4, 4);
    painter.setBrush(QColor(0x15, 0xB0, 0xC6));
    painter.drawEllipse(QRectF(29.5, 36, 6, 6));
    painter.drawRect(QRectF(31, 40, 3, 7));
    return image;
}

QImage Dot(const QColor& colour) {
    QImage image = Blank(12, 12);
    QPainter painter(&image);
    Smooth(painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, 10, 10));
    return image;
}

}  // namespace

std::vector<Picture> AllPictures() {
    return {
        {QStringLiteral("img1.png"), LoginLogo},
        {QStringLiteral("img2.png"), [] { return Logo(20, kAccent); }},
        {QStringLiteral("img3.png"), Operator},
        {QStringLiteral("img4.png"), [] { return TitleButton(false); }},
        {QStringLiteral("img5.png"), [] { return TitleButton(true); }},
        {QStringLiteral("img7.png"),
         [] { return BrandTile(QColor(0x1A, 0x8C, 0xE8), QStringLiteral("支付宝")); }},
        {QStringLiteral("img8.png"),
         [] { return BrandTile(QColor(0x2B, 0xB3, 0x4B), QStringLiteral("微信")); }},
        {QStringLiteral("YZF.png"),
         [] { return BrandTile(QColor(0xE8, 0x5A, 0x1A), QStringLiteral("翼支付")); }},
        {QStringLiteral("img9.png"), BannerMark},
        {QStringLiteral("img10.png"), [] { return Network(false); }},
        {QStringLiteral("img15.png"), [] { return Network(true); }},
        {QStringLiteral("img16.png"), [] { return DialogMark(0); }},
        {QStringLiteral("img17.png"), [] { return DialogMark(1); }},
        {QStringLiteral("img18.png"), [] { return DialogMark(2); }},
        {QStringLiteral("img20.png"), ContactCode},
        {QStringLiteral("keyboard.png"), Keyboard},
        {QStringLiteral("lock.png"), Lock},
        {QStringLiteral("gbtn.png"), [] { return Dot(QColor(0x50, 0xC8, 0x78)); }},
        {QStringLiteral("ybtn.png"), [] { return Dot(QColor(0xF5, 0xB8, 0x2E)); }},
        {QStringLiteral("rbtn.png"), [] { return Dot(QColor(0xFB, 0x65, 0x37)); }},
    };
}

}  // namespace zelvo::pictures
