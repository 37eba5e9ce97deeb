// The threads that accept games and relay what each game sends.
#pragma once

// Starts the thread that accepts games on the listening socket for as long as the relay runs,
// one receiving thread per game; 0 when the thread cannot start.
int StartAccepting(int listenSock);
