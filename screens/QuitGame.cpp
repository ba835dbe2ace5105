#include "screens/QuitGame.h"

#include "core/QuitRequest.h"
#include "media/System.h"

void QuitGame() {
    OpenURL("play.url");
    RequestQuit(0);
}
