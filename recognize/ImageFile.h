#pragma once

#include <string>

#include "recognize/LeptonicaHandles.h"

namespace zelvo {

// The picture in the file at `path`: whatever the image library reads, and the Windows bitmaps
// it refuses (run-length coded, 16 bits a pixel, colour masks) decoded here. Null when the file
// cannot be read as a picture.
PixPtr ReadImageFile(const std::string& path);

}  // namespace zelvo
