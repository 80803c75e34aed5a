#pragma once

namespace zelvo {

// The picture a message dialog shows above its text.
enum class IconKind {
    Warning = 0,    // "img16.png": failures and the re-login question
    Success = 1,    // "img17.png"
    Attention = 2,  // "img18.png": waiting prompts, questions and errors that need the operator
};

}  // namespace zelvo
