// Vashtelo: joins up to six games of an online match by copying every chunk one game sends to
// all of them. The hosting game starts it in the game folder, where it reads its port from
// ".\ap.ini"; it runs until "q" or an ending signal.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "client_table.h"
#include "client_thread.h"
#include "console.h"
#include "host_info.h"
#include "instance_mark.h"
#include "relay_limits.h"
#include "settings.h"

namespace {

// The one way out: flush what was printed, put the terminal back and end. Client threads end
// with the process, as they may be blocked in a receive.
[[noreturn]] void EndRelay(int code) {
    ConsoleClose();
    fflush(stdout);
    _exit(code);
}

// A start-up failure: its line stays readable until a key (or the end of input).
[[noreturn]] void FailStart() {
    fflush(stdout);
    ConsoleWaitKey();
    ReleaseInstanceMark();
    EndRelay(1);
}

}  // namespace

int main() {
    ConsoleOpen();
    if (!AcquireInstanceMark()) EndRelay(1);  // another relay serves this user: end without a word
    setvbuf(stdout, nullptr, _IOLBF, 0);      // lines show at once even when piped to a file

    printf("yver 0.15b9.sa8\n");
    printf("description : %s\n", "POSIX sockets");
    printf("status : %s\n", "Running");

    int listenSock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenSock < 0) {
        printf("error:socket\n");
        FailStart();
    }
    if (!PrintServerAddresses()) FailStart();

    unsigned short port = ReadHostPort();
    printf("port number =");
    printf(" %d\n", port);

    // A relay restarted right after a match must get its port back despite old connections.
    int one = 1;
    setsockopt(listenSock, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    if (bind(listenSock, (sockaddr*)&addr, sizeof addr) != 0) {
        printf("error(%d) : bind\n", errno);
        FailStart();
    }
    if (listen(listenSock, kListenBacklog) != 0) {
        printf("error(%d) : listen\n", errno);
        FailStart();
    }
    if (!StartAccepting(listenSock)) {
        printf("error(%d) : accept\n", errno);
        FailStart();
    }

    printf("q : quit\nl : list\n");
    for (;;) {
        int key = ConsoleReadKey();
        if (key == 'q' || key == kConsoleQuit) break;
        if (key == 'l') ListClients();
    }
    ReleaseInstanceMark();
    printf("shutdown...\n");
    close(listenSock);
    EndRelay(0);
}
