#pragma once

#include "store/Notice.h"

#include <functional>
#include <string>

class Dialogs;

// Shows what logic had to tell the operator, in the order it was said: a
// message as a box; a note through `showNote`, the screen's prompt line, or
// as a box where the caller has no prompt area.
void ShowNotices(Dialogs& dialogs, const Notices& notices,
                 const std::function<void(const std::string&)>& showNote = {});
