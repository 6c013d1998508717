#pragma once

#include <string>

// Qt takes its scale factor once, while the application starts, so the factor
// is chosen before that: from the shop's Options.dat (key `scale`) and the
// size of the display the program opens on. Call both before QApplication.

// The program's data directory, found without Qt: the folder of the
// executable with a separator after it, as DataDirectoryOf gives it later.
std::string DataDirectoryBeforeStart();

// Sets the factor every window, font and message box is drawn at for this
// run. It stands in for the desktop's own scaling, which would otherwise be
// applied on top of it.
void ChooseScreenScale(const std::string& dataDir);
