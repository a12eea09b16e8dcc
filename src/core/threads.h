// The toolkit's thread registry: numbers, names and descriptions of threads.
//
// The user-interface thread is number 1. Every other thread gets the next number when the toolkit
// creates it or when it first asks for one.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Called by a platform on its user-interface thread when it starts: that thread becomes number 1.
void RegisterUserInterfaceThread();
// The calling thread's number, assigned on first use.
int ThreadNumber();
// Reserves the next number for a thread about to be created; the new thread adopts it.
int ReserveThreadNumber();
void AdoptThreadNumber(int number);
// Names the calling thread: the whole name for the toolkit, at most 15 characters for the system. The
// process's main thread keeps its system name, the executable's.
void SetCurrentThreadName(std::string_view name);
std::string CurrentThreadName();
// The description the registry gives the calling thread, "<Thread: 0x…>{number = N, name = X}".
std::string CurrentThreadDescription();
// Parses "number = N," out of a thread description; 0 when it is not there.
int ParseThreadNumber(std::string_view description);

}  // namespace vx

// The number in the calling thread's description.
int CurrentThreadNumber();
