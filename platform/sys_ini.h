// Profile strings: the Windows ini format the game keeps its settings and records in.
// Values are Shift-JIS bytes passed through untouched; only ASCII delimiters are parsed, and
// only at character starts. A save writes a temporary file beside the target and renames it.
#pragma once

#include <string>
#include <vector>

// One value of a file. A missing file, section or key gives the default; names match without
// regard to ASCII case; the value loses surrounding blanks and one pair of quotes and is cut to
// outSize - 1 bytes without splitting a character. Returns the bytes copied.
int SysGetProfileString(const char* section, const char* key, const char* def, char* out, int outSize,
                        const char* gamePath);
// Sets one value, creating the file and the section as needed and keeping every other line.
// CR and LF in the value are dropped so the file keeps its lines. 1 when the file was written.
int SysWriteProfileString(const char* section, const char* key, const char* value, const char* gamePath);

// A whole file held in memory, so many keys are read from one parse and written in one save.
class CProfileFile {
public:
    int Load(const char* gamePath);  // 1 when read or absent; 0 when present but unreadable
    int GetString(const char* section, const char* key, const char* def, char* out, int outSize) const;
    void SetString(const char* section, const char* key, const char* value);
    // Temporary file and rename; refuses (0) when the file could not be read, so it is never lost.
    int Save(const char* gamePath) const;
    std::string Text() const;  // the bytes a save writes

private:
    struct Line {
        std::string text;    // without its line ending
        std::string ending;  // "\r\n", "\n", or "" on a last line without one
    };
    int FindSection(const char* section) const;  // index of the header line, -1 when absent
    int SectionEnd(int header) const;            // index of the next header or the line count
    int FindKey(int header, const char* key) const;
    void EndLastLine();

    std::vector<Line> m_lines;
    std::string m_newline = "\r\n";  // the file's own line ending, for lines added to it
    int m_unreadable = 0;
};
