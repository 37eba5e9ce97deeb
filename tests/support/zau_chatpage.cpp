// zau_chatpage --port N: a chat page on 127.0.0.1 that hosts can announce themselves on and
// clients can read the host list from, for the end-to-end suite and for trying network play on
// one machine. Runs until interrupted.
#include "fake_chat_page.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    int port = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (strcmp(argv[i], "--port") == 0) port = atoi(argv[i + 1]);
    if (port < 1 || port > 65535) {
        fprintf(stderr, "usage: zau_chatpage --port N\n");
        return 2;
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);  // the server thread inherits the mask
    CFakeChatPage page(port);
    if (!page.Listening()) {
        fprintf(stderr, "zau_chatpage: cannot listen on port %d\n", port);
        return 1;
    }
    printf("chat page at %s (set [NET] ChatURL to it)\n", page.BaseUrl().c_str());
    fflush(stdout);
    int sig = 0;
    sigwait(&stop, &sig);
    return 0;
}
