// What the garage needs of the network lobby that opened it: the lobby's connection served once
// a garage frame, and the lobby's status panel drawn over the garage's screen. The lobby
// implements it; a garage opened from the title has none.
#pragma once

class CGarageLobby {
public:
    virtual void UpdateNet() = 0;   // once a frame, outside the frame's drawing
    virtual void DrawStatus() = 0;  // inside the frame, over everything else

protected:
    ~CGarageLobby() = default;  // the lobby owns itself; the garage only points at it
};
