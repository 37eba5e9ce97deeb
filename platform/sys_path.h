// Files and folders. The game writes paths the Windows way (".\data\dt.ini", "bmp\titol01.png")
// in Shift-JIS; everything here takes such paths and maps them onto the Linux file system.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Maps a game path to a native one: backslashes at character starts become slashes, the name
// becomes UTF-8, and a component that does not exist as written is looked up in its folder
// without regard to ASCII case. Existing names are returned as they are on disk.
std::string SysMapPath(const char* gamePath);

FILE* SysOpenFile(const char* gamePath, const char* mode);
// The whole file into *bytes; 1 on success, 0 (bytes empty) when it cannot be opened or read.
int SysReadFile(const char* gamePath, std::vector<unsigned char>* bytes);
int SysFileExists(const char* gamePath);       // 1 for a regular file or folder
int SysChangeDir(const char* gamePath);        // 1 on success
int SysMakeDir(const char* gamePath);          // 1 when the folder exists afterwards
int SysRemoveFile(const char* gamePath);       // 1 on success
int SysReplaceFile(const char* fromGamePath, const char* toGamePath);  // atomic rename
std::string SysGetCurrentDir();                // native, absolute
std::string SysGetExeDirectory();              // native, absolute, with a trailing slash

// Changes into a folder for its lifetime and returns to the saved absolute folder afterwards,
// so a missing or odd folder never leaves the program somewhere else.
class CFolderGuard {
public:
    CFolderGuard();
    explicit CFolderGuard(const char* gamePath);  // changes folder at once
    ~CFolderGuard();
    int Enter(const char* gamePath);              // 1 on success
    int IsEntered() const { return m_entered; }
    CFolderGuard(const CFolderGuard&) = delete;
    CFolderGuard& operator=(const CFolderGuard&) = delete;

private:
    std::string m_saved;
    int m_entered = 0;
};
