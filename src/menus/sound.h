// The toolkit's beep.
#pragma once

// Plays the named sound "sysbeep.aif" unless it is already playing; the platform's standard beep when
// there is no such sound. The sound is looked up once, on first use. Callable from any thread.
void SystemBeep();
