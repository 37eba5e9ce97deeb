// A text file held as a list of lines with a cursor; loaded, saved or appended as a whole.
#pragma once

#include <string>
#include <vector>

class CStringListFile {
public:
    CStringListFile() = default;
    ~CStringListFile() = default;

    void SetFileName(const std::string& name);
    void GetFileName(std::string& name) const;

    // Lines of any length; a trailing CR is dropped. A file ending in a newline gives an empty
    // last line. A file that cannot be opened leaves no lines and returns false.
    bool Load();
    bool Save();    // one newline between lines, none after the last
    bool Append();  // as Save, at the end of the file

    void AddItem(const std::string& line);
    void Clear();

    // Cursor: each move reports whether the cursor is inside the lines afterwards.
    bool SetCursor(int index);
    bool GetCursor(int& index) const;
    bool Next();
    bool Prev();
    bool IsOutOfRange() const;
    bool GetItem(std::string& line) const;  // false, touching nothing, when out of range
    bool SetItem(const std::string& line);

protected:
    std::string m_fileName;
    std::vector<std::string> m_lines;
    int m_cursor = 0;

private:
    bool Write(const char* mode) const;
};
