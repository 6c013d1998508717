#pragma once

#include <functional>

class Dialogs;

// Runs one event handler. Any error abandons the handler and is shown (a data
// file error with the file's path); the screen goes on working.
void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler);
