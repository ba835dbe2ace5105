#pragma once

// Ends the program the way the player's own quit does: the publisher's page
// ("play.url") is opened, then the main loop is asked to end after this frame
// (the shell saves what must be saved). The main menu's and the in-game menu's
// quit questions both end here.
void QuitGame();
