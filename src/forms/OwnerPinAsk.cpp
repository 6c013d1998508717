#include "forms/OwnerPinAsk.h"

#include "platform/Services.h"
#include "store/OwnerPin.h"
#include "store/ProgramState.h"

#include <string>

namespace {

std::string lockedText(long seconds) {
    return "Three wrong PINs: locked for " + std::to_string(seconds) +
           (seconds == 1 ? " second." : " seconds.");
}

} // namespace

bool AskOwnerPin(ProgramState& state, Services& services) {
    const std::string hash = state.options.value("owner-pin");
    if (hash.empty()) return true;
    Dialogs& dialogs = services.dialogs;
    if (const long wait = state.pinGate.lockedFor(services.clock.now()); wait > 0) {
        dialogs.message(lockedText(wait));
        return false;
    }
    while (std::optional<std::string> typed = dialogs.askSecret("Owner PIN:")) {
        switch (state.pinGate.check(hash, *typed, services.clock.now())) {
        case OwnerPinGate::Verdict::Open:
            return true;
        case OwnerPinGate::Verdict::Wrong:
            dialogs.message("Wrong PIN.");
            break;
        case OwnerPinGate::Verdict::NowLocked:
        case OwnerPinGate::Verdict::Locked:
            dialogs.message(lockedText(state.pinGate.lockedFor(services.clock.now())));
            return false;
        }
    }
    return false;
}
