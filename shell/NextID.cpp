#include "model/NextID.h"

#include "document/frmDocument.h"
#include "model/Failure.h"
#include "shell/basMain.h"
#include "shell/frmMain.h"

#include <limits>

qint32 NextID()
{
    frmDocument* active = g_frmMain ? g_frmMain->ActiveForm() : nullptr;
    if (!active)
        throw Failure::MissingObject();
    if (active->m_lngID == std::numeric_limits<qint32>::max())
        throw Failure::Overflow();
    active->m_lngID += 1;
    return active->m_lngID;
}
