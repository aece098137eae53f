#pragma once

#include <functional>

// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C, the
// system shutting down) end the program as the user would: end is called
// in the event loop, never from the signal, so that whatever runs when the
// signal comes, a save above all, finishes first. A second signal before
// the event loop got to the first ends the program at once, as a program
// that is stuck must be ended somehow, unless a save is being made. Needs
// the application object; call once.
void EndOnTerminationSignals(std::function<void()> end);

// Held while a file is being saved: no signal ends the program at once.
class TerminationShield
{
public:
    TerminationShield();
    ~TerminationShield();
    TerminationShield(const TerminationShield&) = delete;
    TerminationShield& operator=(const TerminationShield&) = delete;
};
