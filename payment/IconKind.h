#pragma once

namespace zelvo {

// The picture a message dialog shows above its text.
enum class IconKind {
    Question = 0,  // "img16.png"
    Success = 1,   // "img17.png"
    Warning = 2,   // "img18.png"
};

}  // namespace zelvo
