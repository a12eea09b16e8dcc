#include "menus/sound.h"

#include <atomic>

#include "core/platform.h"
#include "core/program.h"

namespace {

enum class Sound { Unknown, Missing, Available };
std::atomic<Sound> sysbeep{Sound::Unknown};

}  // namespace

void SystemBeep() {
    OnUserInterfaceThread([] {
        vx::Platform& platform = vx::CurrentPlatform();
        if (sysbeep.load() == Sound::Unknown)
            sysbeep.store(platform.loadNamedSound("sysbeep.aif") ? Sound::Available : Sound::Missing);
        if (sysbeep.load() == Sound::Missing)
            platform.beep();
        else if (!platform.isNamedSoundPlaying())
            platform.playNamedSound();
    });
}
