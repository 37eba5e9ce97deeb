// The line file: round trips, the empty last line, long lines, CRLF input and the cursor.
#include "string_list_file.h"
#include "test_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(CStringListFile& f) {
    std::vector<std::string> out;
    std::string line;
    for (bool in = f.SetCursor(0); in; in = f.Next()) {
        f.GetItem(line);
        out.push_back(line);
    }
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(StringListFile, SavesWithNewlinesBetweenAndLoadsTheSameLines) {
    CTestFolder folder;
    CStringListFile f;
    f.SetFileName("list.txt");
    f.AddItem("A");
    f.AddItem("B");
    ASSERT_TRUE(f.Save());
    EXPECT_EQ(ReadWholeFile("list.txt"), "A\nB");
    CStringListFile g;
    g.SetFileName("list.txt");
    ASSERT_TRUE(g.Load());
    EXPECT_EQ(Lines(g), (V{"A", "B"}));
    std::string name;
    g.GetFileName(name);
    EXPECT_EQ(name, "list.txt");
}

TEST(StringListFile, FinalNewlineEmptyFileAndMissingFile) {
    CTestFolder folder;
    CStringListFile f;
    f.SetFileName("list.txt");
    WriteWholeFile("list.txt", "A\nB\n");
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(Lines(f), (V{"A", "B", ""}));
    WriteWholeFile("list.txt", "");
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(Lines(f), (V{""}));
    ASSERT_TRUE(f.Save());
    EXPECT_EQ(ReadWholeFile("list.txt"), "");
    f.Clear();
    ASSERT_TRUE(f.Save());  // no lines: an empty file
    EXPECT_EQ(ReadWholeFile("list.txt"), "");

    f.SetFileName("missing.txt");
    f.AddItem("stale");
    EXPECT_FALSE(f.Load());
    EXPECT_EQ(Lines(f), V{});
}

TEST(StringListFile, LongLinesCrlfAndShiftJisBytesSurvive) {
    CTestFolder folder;
    std::string longLine(5000, 'x');
    longLine[4095] = 'y';
    // Second bytes 0x5C and 0x7C are ordinary bytes of a line.
    std::string sjis = "\x83\x5C\x95\x7C";
    WriteWholeFile("reply.txt", "HTTP/1.0 200 OK\r\n" + longLine + "\r\n" + sjis + "\r\nlast");
    CStringListFile f;
    f.SetFileName("reply.txt");
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(Lines(f), (V{"HTTP/1.0 200 OK", longLine, sjis, "last"}));
    f.SetFileName("copy.txt");
    ASSERT_TRUE(f.Save());
    EXPECT_EQ(ReadWholeFile("copy.txt"), "HTTP/1.0 200 OK\n" + longLine + "\n" + sjis + "\nlast");
}

TEST(StringListFile, AppendContinuesAnUnfinishedLastLine) {
    CTestFolder folder;
    WriteWholeFile("log.txt", "X");
    CStringListFile f;
    f.SetFileName("log.txt");
    f.AddItem("A");
    f.AddItem("B");
    ASSERT_TRUE(f.Append());
    EXPECT_EQ(ReadWholeFile("log.txt"), "XA\nB");
    f.SetFileName("no-such-folder/log.txt");
    EXPECT_FALSE(f.Save());
    EXPECT_FALSE(f.Append());
}

TEST(StringListFile, CursorOutsideTheLinesTouchesNothing) {
    CStringListFile f;
    f.AddItem("one");
    f.AddItem("two");
    std::string out = "unchanged";
    EXPECT_FALSE(f.SetCursor(2));
    EXPECT_TRUE(f.IsOutOfRange());
    EXPECT_FALSE(f.GetItem(out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(f.SetItem("x"));
    EXPECT_TRUE(f.Prev());
    int at = -5;
    EXPECT_TRUE(f.GetCursor(at));
    EXPECT_EQ(at, 1);
    EXPECT_TRUE(f.SetItem("TWO"));
    EXPECT_TRUE(f.GetItem(out));
    EXPECT_EQ(out, "TWO");
    EXPECT_TRUE(f.Prev());
    EXPECT_FALSE(f.Prev());
    EXPECT_FALSE(f.GetCursor(at));
    EXPECT_EQ(at, -1);
    EXPECT_FALSE(f.GetItem(out));
    EXPECT_EQ(out, "TWO");
}
