#pragma once

#include <functional>

class Dialogs;

// Runs one event handler. A data file error abandons the handler and is shown
// with the file's path; the screen goes on working.
void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler);
