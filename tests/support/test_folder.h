// A private temporary folder per test, entered for the test's lifetime, so tests run in parallel.
#pragma once

#include <string>

class CTestFolder {
public:
    CTestFolder();   // creates /tmp/zaumolta-test-XXXXXX and changes into it
    ~CTestFolder();  // returns to the previous folder and removes the tree
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;

private:
    std::string m_path;
    std::string m_previous;
};

// Reads a whole file as bytes ("" when missing).
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// How many times part stands in text, without overlaps; 0 for an empty part.
int CountOf(const std::string& text, const std::string& part);

// UTF-8 literal as a byte string (plain literals in game targets are Shift-JIS).
inline std::string U8(const char8_t* s) { return std::string(reinterpret_cast<const char*>(s)); }
