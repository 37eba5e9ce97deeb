// The game's main loop over scenes.
#pragma once

int GameMain();   // returns the quit flag
