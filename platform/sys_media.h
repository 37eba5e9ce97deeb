// Media events standing in for a filter graph's event queue and its notify message: events
// wait in a queue, and the event pump calls the handler once for each posted wake-up.
#pragma once

constexpr int kMediaEventComplete = 1;    // the media played to its end
constexpr int kMediaEventUserAbort = 2;   // the user closed the video window
constexpr int kMediaEventErrorAbort = 3;  // playback stopped on an error

void SysSetMediaEventHandler(void (*handler)());   // nullptr: events are kept but nobody is told
void SysPostMediaEvent(int code, long param1, long param2);  // queue the event and wake the pump
int SysGetMediaEvent(int* code, long* param1, long* param2); // take one without waiting; 0 when none
void SysClearMediaEvents();
