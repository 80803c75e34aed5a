#include "shell/controls/Skin.h"

#include <QStringList>

namespace zelvo::skin {

QFont Font(int pixelSize, bool bold, Face face) {
    QFont font(face == Face::Hei ? QStringLiteral("黑体") : QStringLiteral("宋体"));
    font.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

void InstallFontSubstitutions() {
    // The Latin letters of AR PL UMing draw "l" like "1": where SimSun is absent, letters and
    // digits come from a clear serif face and only the CJK characters from the CJK face.
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("SimSun"), QStringLiteral("Liberation Serif"),
                                QStringLiteral("DejaVu Serif"), QStringLiteral("AR PL UMing CN"),
                                QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("黑体"),
                               {QStringLiteral("SimHei"), QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("AR PL UMing CN")});
}

QPixmap LoadPicture(const QString& name) {
    return QPixmap(QStringLiteral("pic/") + name);
}

}  // namespace zelvo::skin
