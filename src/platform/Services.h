#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileDialog.h"
#include "platform/FontDialog.h"
#include "platform/Launcher.h"
#include "platform/Ports.h"
#include "platform/PrintDialog.h"
#include "platform/Regional.h"
#include "platform/ScreenInfo.h"

// The operating system's services a screen may use; the program block passes
// the real ones, tests pass fakes.
struct Services {
    Dialogs& dialogs;
    Clock& clock;
    Regional& regional;
    Launcher& launcher;
    Ports& ports;
    ScreenInfo& screen;
    PrintDialog& printDialog;
    FileDialog& fileDialog;
    FontDialog& fontDialog;
};
