#pragma once

// Connects the screens to the levels: the game controller's pause menu and
// its way back to the main menu, and the results dialog's way back to the
// story map and on to the end of the journey. The hooks the progress layer
// installed are kept. Start-up calls it once, after InstallProgressHooks.
void InstallScreenHooks();
