#include "app/readcd/ReadCdCommand.h"

#include "app/messages/ErrorReport.h"
#include "app/readcd/ReadCdDialog.h"
#include "app/readcd/ReadCdSession.h"
#include "discinfo/CdDriveAccess.h"

namespace tvl {

void RunReadCd(ReadCdSession& session, DesignDocument& document, QWidget* window)
{
    Guarded(357, [&] {
        CdDriveAccess drives(session.openTransport());
        drives.Initialise();
        if (drives.GetDriveCount() == 0) {
            session.Tell(2, QStringLiteral("There are no CD-ROM drives attached to your system."),
                         QStringLiteral("OK`"), window);
            return;
        }
        ReadCdDialog dialog(session, drives, document, window);
        dialog.exec();
    });
}

} // namespace tvl
