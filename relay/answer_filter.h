// The relay alone answers the two requests of the games: ">i" tells a game its own slot and ">l"
// which slots are in use. A game that sends such an answer itself would tell every game a false
// id (a second host, or none) or false slot flags, so its answers never go on. Nor does anything
// a game writes behind its id request: the relay writes the answer over ">I-", and those bytes
// would run on as part of the id (">I-5" would reach slot 0 as ">i05").
#pragma once

// A message is the mark ">", a type letter and a body up to the next mark.
constexpr char kMessageMark = '>';

// Where one game's stream stands between two relayed parts of it.
struct AnswerFilter {
    int dropping = 0;  // the last part ended inside a dropped message or request body, which runs on to the next mark
    int idTag = 0;     // the last part ended just behind ">I": a "-" next makes it the id request
};

// Removes in place from the next part of a game's stream (n bytes) every ">i" and ">l" message
// and everything behind ">I-" up to the next mark, whole however the receives cut them, and
// every mark without a type letter behind it; returns the bytes left. The caller ends a part
// only before a mark or where the stream ends, so a mark at the end of a part has no letter
// either. What is left never ends with a mark and holds no mark followed by "i" or "l", so no
// other game's chunk can complete a forged answer behind it.
int DropForgedAnswers(char* part, int n, AnswerFilter* filter);
