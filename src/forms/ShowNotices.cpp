#include "forms/ShowNotices.h"

#include "platform/Dialogs.h"

void ShowNotices(Dialogs& dialogs, const Notices& notices,
                 const std::function<void(const std::string&)>& showNote) {
    for (const Notice& notice : notices) {
        if (notice.kind == Notice::Kind::Note && showNote)
            showNote(notice.text);
        else
            dialogs.message(notice.text);
    }
}
