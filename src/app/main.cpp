// Entry point of LarkB.exe: the one application object and its run.
#include <windows.h>

#include "app/main_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    static CMainApp app;
    return app.Main();
}
