#include "forms/ShowNotices.h"

#include "platform/Cp1252.h"
#include "platform/Dialogs.h"

#include <QLabel>

void showNotices(Dialogs& dialogs, const Notices& notices, QLabel* promptLine) {
    for (const Notice& notice : notices) {
        if (notice.kind == Notice::Kind::Note && promptLine)
            promptLine->setText(fromCp1252(notice.text));
        else
            dialogs.message(notice.text);
    }
}
