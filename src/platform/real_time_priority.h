#pragma once
// Raises the calling thread to real-time scheduling, for threads that must keep time while the machine is
// busy (the sender of timed port messages, the paced audio file).

#include <string>

namespace sonvela {

// Empty when the thread now runs at real-time priority, else why it could not (the system did not grant it;
// the thread then runs on at its normal priority).
std::string RaiseThreadPriority();

}  // namespace sonvela
