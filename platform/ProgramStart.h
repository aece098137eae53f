#pragma once

#include <QString>

// Starts other programs on the user's behalf. Tests install a starter that
// only records what would have been started.
class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;

    // Starts the program at path, without arguments, and returns at once
    // without waiting for it; it runs on independently of this program.
    // False when it could not be started.
    virtual bool StartDetached(const QString& path) = 0;
};

ProgramStarter& CurrentProgramStarter();
// Installs a replacement (tests); nullptr restores the real one.
void SetProgramStarter(ProgramStarter* starter);
