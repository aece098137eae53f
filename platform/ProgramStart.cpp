#include "platform/ProgramStart.h"

#include <QProcess>

namespace {

class ProcessStarter final : public ProgramStarter
{
public:
    bool StartDetached(const QString& path) override
    {
        // The path is the program itself, never split at blanks.
        return !path.isEmpty() && QProcess::startDetached(path, QStringList());
    }
};

ProgramStarter* g_replacement = nullptr;

}

ProgramStarter& CurrentProgramStarter()
{
    static ProcessStarter processStarter;
    return g_replacement ? *g_replacement : processStarter;
}

void SetProgramStarter(ProgramStarter* starter)
{
    g_replacement = starter;
}
