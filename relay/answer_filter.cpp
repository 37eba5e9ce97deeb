// One pass over the bytes of a part; the state carries a dropped message, or an id request cut
// behind its letter, into the next part.
#include "answer_filter.h"

int DropForgedAnswers(char* part, int n, AnswerFilter* filter) {
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        const char c = part[i];
        if (c != kMessageMark) {
            if (!filter->dropping) part[kept++] = c;
            if (filter->idTag) {
                filter->idTag = 0;
                filter->dropping = c == '-';  // the request stays, its body goes
            }
            continue;
        }
        filter->dropping = 0;
        filter->idTag = 0;
        // A mark followed by another mark, or by nothing, starts no message: were it passed on,
        // the next bytes at the games could be another game's and give it the letter "i".
        if (i + 1 == n || part[i + 1] == kMessageMark) continue;
        if (part[i + 1] == 'i' || part[i + 1] == 'l') {
            filter->dropping = 1;
            continue;
        }
        part[kept++] = c;
        if (part[i + 1] == 'I') {
            part[kept++] = part[++i];
            filter->idTag = 1;
        }
    }
    return kept;
}
