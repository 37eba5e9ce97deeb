// The main window, its event pump and message boxes, standing in for the window procedure,
// PeekMessage/WaitMessage and MessageBox. All text arguments are Shift-JIS.
#pragma once

// What the window reports to the engine; any hook may be null.
struct SysWindowHandler {
    void (*onClose)();              // close box, SIGINT/SIGTERM, or SysCloseWindow
    void (*onActivate)(int active); // focus gained (1) or lost (0)
    void (*onSize)(int w, int h);   // client area resized
    void (*onMove)();
    void (*onDisplayChange)();
};
void SysSetWindowHandler(const SysWindowHandler* handler);

int SysCreateWindow(const char* caption, int width, int height);  // hidden until shown; 1 on success
void SysDestroyWindow();
int SysHasWindow();
void SysShowWindow();
void SysSetWindowCaption(const char* caption);
void SysGetWindowClientSize(int* width, int* height);
void SysCloseWindow();             // like sending WM_CLOSE: runs onClose
int SysScreenSaverRefused();       // 1 while the window has the focus

// Events
int SysPumpEvents();               // dispatches every pending event; 1 once a quit was posted
void SysPostQuit();                // the quit message: every later pump reports it
void SysClearQuit();               // tests: forget a posted quit, so one process runs many sessions
void SysWaitEvent();               // blocks until an event arrives or a watched descriptor is ready
void SysWatchFd(int fd, int wantWrite);  // wake SysWaitEvent when fd is readable (or writable)
void SysUnwatchFd(int fd);
void SysAddPumpHook(void (*hook)());     // run at every pump (sockets raise their events here)
void SysRemovePumpHook(void (*hook)());

// Message boxes: modal on a desktop; tests install a sink so nothing blocks headless.
void SysMessageBox(const char* title, const char* text);
int SysAskYesNo(const char* title, const char* text);  // 1 for Yes; with a sink installed: No
void SysSetMessageBoxSink(void (*sink)(const char* title, const char* text));
