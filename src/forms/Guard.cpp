#include "forms/Guard.h"

#include "platform/Dialogs.h"
#include "store/IoError.h"

#include <exception>

void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const IoError& e) {
        dialogs.message(e.message());
    } catch (const std::exception& e) {
        // Whatever else went wrong abandons only this handler: the day's
        // figures stay as the last completed step left them.
        dialogs.message(std::string("The last step could not be completed.\r\n") + e.what());
    } catch (...) {
        dialogs.message("The last step could not be completed.");
    }
}
