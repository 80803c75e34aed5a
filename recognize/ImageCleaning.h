#pragma once

#include <string>

#include "recognize/LeptonicaHandles.h"

namespace zelvo {

// The ground the cleaned images keep around their text.
inline constexpr int kQuietBorder = 12;

// Grey, dark text on a light ground, field borders removed, the text scaled to a height the
// recogniser reads well, binarised and framed by a quiet border. False when the input cannot
// be read or the output cannot be written.
// Beside it, in `GreyLineBeside(out)`, the same line before it was binarised.
bool CleanImageForRecognition(const std::string& in, const std::string& out);

// Where the cleaning leaves the line in grey beside the cleaned image `cleaned`: scaled and
// framed as that is, so that the two are the same size. Small or blurred text that binarising
// broke or ran together often reads there.
std::string GreyLineBeside(const std::string& cleaned);

// The sides of the region that cut through the text: where a character, and not a field border,
// runs into them.
struct CutSides {
    bool left = false;
    bool right = false;
};
CutSides TextCutAtTheSides(Pix* line);

// The picture in grey, turned so that its text is darker than its ground; null when it
// cannot be converted.
PixPtr GreyDarkOnLight(Pix* source);

// The dark pixels of a grey picture (1 bit, set where dark), split at the grey level that best
// parts them from the ground.
PixPtr Binarised(Pix* grey);

// The ink of a grey picture (dark text on a light ground) without its field lines: frames,
// underlines and lines cut off at its edges, which are painted over with the ground in `grey`.
PixPtr InkWithoutFieldLines(Pix* grey);

// The ink of a line, dark or light text on an even ground: one bit, set where the text is.
PixPtr DarkInk(Pix* line);

// The marks of a grey picture (dark text on a light ground) darker than its ground by more than
// a tenth of the text's contrast: one bit, set on them. A blurred point of small text may be
// that pale, and the level that splits the strokes from the ground drops it. None without text
// of some contrast.
PixPtr FaintInk(Pix* grey);

}  // namespace zelvo
