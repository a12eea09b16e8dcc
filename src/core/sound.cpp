#include "core/platform.h"
#include "core/program.h"
#include "vxtools/core.h"

std::atomic<vx::BeepSound> SysbeepSound{vx::BeepSound::NotLookedUp};

void SystemBeep() {
    OnUserInterfaceThread([] {
        vx::Platform& platform = vx::CurrentPlatform();
        if (SysbeepSound.load() == vx::BeepSound::NotLookedUp)
            SysbeepSound.store(platform.loadNamedSound("sysbeep.aif") ? vx::BeepSound::Loaded
                                                                      : vx::BeepSound::Missing);
        if (SysbeepSound.load() == vx::BeepSound::Missing)
            platform.beep();
        else if (!platform.isNamedSoundPlaying())
            platform.playNamedSound();
    });
}
