#pragma once

#include <string>

namespace zelvo {

// Grey, dark text on a light ground, field borders removed, the text scaled to a height the
// recogniser reads well, binarised and framed by a quiet border. False when the input cannot
// be read or the output cannot be written.
bool CleanImageForRecognition(const std::string& in, const std::string& out);

}  // namespace zelvo
