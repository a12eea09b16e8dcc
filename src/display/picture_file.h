#pragma once

#include <string>

namespace vx {

// Records why a picture operation on this thread failed, for PictureError(); "" after one that worked.
void SetPictureError(std::string reason);

// Waits up to `millis` for the pictures being written (WritePng) to be complete. True when none is left;
// false when some still were, whose unfinished temporary files are then removed (the files they were to
// replace stay as they were). `failed` tells whether a save failed while waiting or was cut off. Any
// thread; the quit path calls it before the process ends.
bool WaitForPictureSaves(int millis, bool& failed);

}  // namespace vx
