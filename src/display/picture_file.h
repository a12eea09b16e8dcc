#pragma once

#include <string>

namespace vx {

// Records why a picture operation on this thread failed, for PictureError(); "" after one that worked.
void SetPictureError(std::string reason);

}  // namespace vx
