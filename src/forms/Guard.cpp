#include "forms/Guard.h"

#include "platform/Dialogs.h"
#include "store/IoError.h"

void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
}
