#include "forms/Guard.h"

#include "platform/Dialogs.h"
#include "store/IoError.h"

void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const IoError& e) {
        dialogs.message("I/O error in file " + e.path() + "\r\n" + e.what());
    }
}
