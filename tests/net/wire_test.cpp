// The stream splitter and the wire's value rules: what a receiver takes off its buffer, what it
// leaves for the next receive, and that a stream applies alike however TCP cuts it.
#include "wire.h"

#include "test_folder.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* name;
    std::string buffer;
    std::vector<std::string> messages;  // tag + body of each message taken, in order
    std::string left;                   // what stays in the buffer
};

std::vector<std::string> SplitAll(std::string& buffer) {
    std::vector<std::string> out;
    std::string tag, body;
    while (SplitNextMessage(buffer, tag, body)) {
        EXPECT_EQ(tag.size(), 2u);
        out.push_back(tag + "|" + body);
    }
    return out;
}

TEST(WireSplitTest, TakesCompleteMessagesAndKeepsTheRest) {
    const std::string name0 = ">g00nALICE";
    const std::vector<SplitCase> cases = {
        {"empty", "", {}, ""},
        {"two characters only", ">g", {}, ">g"},
        {"no mark at all", "hello world", {}, "hello world"},
        {"one unfinished message", ">g00nAL", {}, ">g00nAL"},
        {"name record then four characters of the next",
         name0 + ">g00",
         {">g|00nALICE"},
         ">g00"},
        {"three complete, the last waits", ">i3>l tttfff>mhi>g0", {">i|3", ">l| tttfff", ">m|hi"}, ">g0"},
        {"empty bodies", ">a>b>c", {">a|", ">b|"}, ">c"},
        {"tag taken whatever its first character", "ab>cd>", {"ab|", ">c|d"}, ">"},
        {"a mark right behind the tag", ">>x>", {">>|x"}, ">"},
        {"text before the first mark is a message of its own", "xyz>m1>", {"xy|z", ">m|1"}, ">"},
        {"three characters, mark at the end", "ab>", {"ab|"}, ">"},
        {"a typed mark splits a chat line", ">mBOB:a>b c>", {">m|BOB:a", ">b| c"}, ">"},
    };
    for (const SplitCase& c : cases) {
        std::string buffer = c.buffer;
        EXPECT_EQ(SplitAll(buffer), c.messages) << c.name;
        EXPECT_EQ(buffer, c.left) << c.name;
    }
}

TEST(WireSplitTest, LeftBufferIsUntouched) {
    for (std::string buffer : {std::string(""), std::string("ab"), std::string(">g"), std::string("abcdef"),
                               std::string(">gabc")}) {
        std::string tag = "keep", body = "keep";
        const std::string before = buffer;
        EXPECT_EQ(SplitNextMessage(buffer, tag, body), 0) << before;
        EXPECT_EQ(buffer, before);
    }
}

// One stream, cut into random pieces that arrive one after another: the same messages in the
// same order, whatever the cuts.
TEST(WireSplitTest, RandomCutsApplyTheSameMessages) {
    std::string stream;
    for (int i = 0; i < 300; ++i) {
        stream += ">g0" + std::to_string(i % 6) + "n" + std::string((size_t)(i % 17), 'a' + i % 26);
        if (i % 7 == 0) stream += ">m" + std::to_string(i) + ":chat";
        if (i % 11 == 0) stream += ">c1" + std::string(12, '0' + i % 4);
    }
    stream += ">";  // closes the last message
    std::string whole = stream;
    const std::vector<std::string> expected = SplitAll(whole);
    ASSERT_GT(expected.size(), 300u);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        std::string buffer;
        std::vector<std::string> got;
        for (size_t at = 0; at < stream.size();) {
            size_t n = 1 + random() % 40;
            buffer.append(stream, at, n);
            at += n;
            std::vector<std::string> some = SplitAll(buffer);
            got.insert(got.end(), some.begin(), some.end());
        }
        EXPECT_EQ(got, expected) << "seed " << seed;
    }
}

TEST(WireTextTest, MarksBecomeFullWidth) {
    EXPECT_EQ(ToWireText("a>b>>"), "a\x81\x84" "b\x81\x84\x81\x84");
    EXPECT_EQ(ToWireText("plain text"), "plain text");
    // Shift-JIS second bytes are never 0x3E, so two-byte characters pass unchanged.
    const std::string sjis = "\x83\x5c\x83\x41\x94\x5c";
    EXPECT_EQ(ToWireText(sjis), sjis);
    EXPECT_EQ(ToWireText(""), "");
}

TEST(WireValueTest, IntegersReadLikeTheRuntimeWithoutOverflow) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"0", 0},          {"5", 5},          {"-1", -1},        {"  42", 42},
        {"+7", 7},         {"12abc", 12},     {"abc", 0},        {"", 0},
        {"-", 0},          {"9999999999", INT_MAX},               {"-9999999999", INT_MIN},
        {"2147483647", INT_MAX},              {"-2147483648", INT_MIN},
        {"99999999999999999999999", INT_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadWireInt(c.text), c.value) << c.text;
    EXPECT_EQ(ReadWireInt(nullptr), 0);
    EXPECT_EQ(ReadWireDigit('0'), 0);
    EXPECT_EQ(ReadWireDigit('9'), 9);
    EXPECT_EQ(ReadWireDigit('-'), 0);
    EXPECT_EQ(ReadWireDigit('a'), 0);
}

TEST(WireValueTest, CutsNeverSplitACharacter) {
    const std::string kana = "\x82\xa0\x82\xa2\x82\xa4";  // three two-byte characters
    EXPECT_EQ(CutAtCharStart(kana, 6), kana);
    EXPECT_EQ(CutAtCharStart(kana, 5), kana.substr(0, 4));
    const std::string mixed = std::string("a").append(kana);
    EXPECT_EQ(CutAtCharStart(mixed, 4), mixed.substr(0, 3));
    EXPECT_EQ(CutAtCharStart("abc", 10), "abc");
}

}  // namespace
