#pragma once

namespace tessera {

// In a kiosk SIGTERM, SIGINT and SIGHUP (the terminal or session a show was started from
// going away) end the show as the owner's chord does, between frames: stopAsked() says one
// came. Should a frame take long, the end comes anyway a second after it was asked, without
// leaving the game mode: the owner's way out must not wait on whatever the frame does.
void endOnStopSignals();
bool stopAsked();

} // namespace tessera
