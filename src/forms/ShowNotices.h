#pragma once

#include "store/Notice.h"

class Dialogs;
class QLabel;

// Shows what logic returned, in order: a message in a box, a note in the
// prompt line when the screen has one (it only informs, so it never takes the
// operator's keys), else in a box too.
void showNotices(Dialogs& dialogs, const Notices& notices, QLabel* promptLine = nullptr);
