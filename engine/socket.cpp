// The TCP client: one global connection and its three flags, a hidden notification window that
// receives the socket events from the message pump, and the "socket.err" log.
#include "socket.h"

#include "sys_path.h"
#include "sys_socket.h"

#include <cstdio>

namespace {

constexpr const char* kErrorLogName = "socket.err";
// Notification windows alive at once: one per CSocket; the game has one, tests a few.
constexpr int kMaxNotifyWindows = 8;

int g_socket = -1;  // no socket: -1, so descriptor 0 is never mistaken for none
int g_connected = 0;
int g_readable = 0;
int g_writable = 0;
bool g_windows[kMaxNotifyWindows];

void ClearFlags() {
    g_connected = 0;
    g_readable = 0;
    g_writable = 0;
}

// The handle is forgotten as it is closed: a later Close must not close a reused descriptor.
void CloseHandle() {
    if (g_socket < 0) return;
    SysSocketClose(g_socket);
    g_socket = -1;
}

bool WindowExists(int window) { return window >= 1 && window <= kMaxNotifyWindows && g_windows[window - 1]; }

// The pump's socket events become the notification window's message, so the flags change only
// between frames, where the game polls them.
void PostSocketEvent(int window, int s, int event, int error) {
    if (!WindowExists(window)) return;
    intptr_t code = error ? ((error & 0xffff) ? (error & 0xffff) : 1) : 0;
    SocketWindowProc(window, kSocketMessage, (uintptr_t)s, (intptr_t)((code << 16) | (event & 0xffff)));
}

}  // namespace

CSocket::CSocket() {
    ClearFlags();
    ResetErrorLog();
}

CSocket::~CSocket() {
    Close();
    // The window dies with its owner without a close message, so nothing is logged for it.
    if (WindowExists(m_window)) g_windows[m_window - 1] = false;
}

int CSocket::Init(int version) {
    if (!SysSocketStartup(version)) {
        LogSocketError("WSAStartup\n");
        return 0;
    }
    // A second Init starts a new connection; the old descriptor is not left open.
    CloseHandle();
    ClearFlags();
    g_socket = SysSocketCreate();
    if (g_socket < 0) {
        LogSocketError("socket\n");
        return 0;
    }
    SelectAsync();
    return 1;
}

int CSocket::SelectAsync() {
    DestroyNotifyWindow();
    m_window = CreateNotifyWindow();
    if (!m_window || !SysSocketSelect(g_socket, PostSocketEvent, m_window)) {
        LogSocketError("WSAAsyncSelect\n");
        return 0;
    }
    return 1;
}

// Class "SOKET_CALLBACK", title "socket callback", 32 x 32 at (0, 0), hidden: only its
// procedure matters, so the window is a record that receives messages.
int CSocket::CreateNotifyWindow() {
    for (int i = 0; i < kMaxNotifyWindows; ++i)
        if (!g_windows[i]) {
            g_windows[i] = true;
            return i + 1;
        }
    return 0;
}

void CSocket::DestroyNotifyWindow() {
    if (!m_window) return;
    SocketWindowProc(m_window, kWindowClose, 0, 0);
    m_window = 0;
}

int CSocket::ResolveHost(const char* host, uint32_t* address) {
    unsigned int a = 0;
    if (!SysSocketResolve(host, &a)) {
        LogSocketError("gethostbyname\n");
        return 0;
    }
    if (address) *address = a;
    return 1;
}

int CSocket::Connect(uint32_t address, int port) {
    if (g_connected) Shutdown();
    if (!SysSocketConnect(g_socket, address, port & 0xffff)) {
        LogSocketError("connect\n");
        return 0;
    }
    return 1;
}

int CSocket::Send(const char* data, int length) {
    if (!data || length < 0) length = 0;
    if (!SysSocketSend(g_socket, data, length)) {
        LogSocketError("send\n");
        return 0;
    }
    return 1;
}

int CSocket::Receive(char* buffer, int size, int* received) {
    g_readable = 0;
    if (received) *received = 0;
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    int n = SysSocketRecv(g_socket, buffer, size - 1);
    if (n >= 0) {
        buffer[n] = '\0';
        if (received) *received = n;
        return 1;
    }
    if (n == -2) return 1;  // nothing waiting: the empty text
    LogSocketError("recv\n");
    return 0;
}

void CSocket::Shutdown() {
    ClearFlags();
    if (g_socket >= 0) SysSocketShutdown(g_socket);
}

void CSocket::Close() {
    Shutdown();
    CloseHandle();
    SysSocketCleanup();
}

void CSocket::ResetErrorLog() {
    if (FILE* f = SysOpenFile(kErrorLogName, "wb")) fclose(f);
}

void LogSocketError(const char* text) {
    FILE* f = SysOpenFile(kErrorLogName, "ab");
    if (!f) return;
    fputs(text, f);
    fclose(f);
}

int IsSocketConnected() { return g_connected; }
int IsSocketReadable() { return g_readable; }
int IsSocketWritable() { return g_writable; }
int IsSocketOpen() { return g_socket >= 0; }

long SocketWindowProc(int window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (message == kSocketMessage) {
        if ((lParam >> 16) & 0xffff) {
            ClearFlags();
            CloseHandle();
            LogSocketError("WSAGETSELECTERROR\n");
            return 0;
        }
        if ((intptr_t)wParam != g_socket) return 0;
        switch (lParam & 0xffff) {
            case kSysSocketRead:
                g_readable = 1;
                break;
            case kSysSocketWrite:
                g_writable = 1;
                break;
            case kSysSocketConnect:
                g_connected = 1;
                LogSocketError("FD_CONNECT\n");
                break;
            case kSysSocketClose:
                ClearFlags();
                CloseHandle();
                LogSocketError("FD_CLOSE\n");
                break;
            default:
                break;
        }
        return 0;
    }
    if (message == kWindowClose) {
        LogSocketError("WM_CLOSE\n");
        if (WindowExists(window)) g_windows[window - 1] = false;  // destroyed
    }
    return 0;
}
