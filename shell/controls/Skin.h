#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

namespace zelvo::skin {

// The fixed colours of the flat look.
inline const QColor Accent{0x00, 0xBC, 0xD4};
inline const QColor AccentLight{0x11, 0xE2, 0xFC};
inline const QColor AccentDark{0x15, 0x93, 0xA6};
inline const QColor DarkBar{0x4D, 0x4D, 0x4D};
inline const QColor Page{0xF4, 0xF4, 0xF4};
inline const QColor Panel{0xF9, 0xF9, 0xF9};
inline const QColor Frame{0xC0, 0xC0, 0xC0};
inline const QColor LabelText{0x4A, 0x4A, 0x4A};
inline const QColor Grey{0x95, 0x95, 0x95};
inline const QColor TabHover{0xEC, 0xEC, 0xEC};
inline const QColor NearWhite{0xF7, 0xF7, 0xF7};
inline const QColor Caption{0x63, 0x63, 0x63};
inline const QColor TabAccent{0x42, 0x42, 0x42};

enum class Face { Song, Hei };

// A font of the given pixel height; 宋体 and 黑体 resolve through the substitutions below.
QFont Font(int pixelSize, bool bold = false, Face face = Face::Song);

// Maps 宋体 and 黑体 to the CJK faces installed on this system (once, before any window).
void InstallFontSubstitutions();

// "pic/<name>" relative to the working directory, loaded afresh; null when the file is absent,
// so the caller draws nothing in its place.
QPixmap LoadPicture(const QString& name);

}  // namespace zelvo::skin
