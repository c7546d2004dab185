#include "compiling/errorlist.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const std::string BANNER = "FreeBASIC Compiler - Version 1.10.1 (2023-12-24), built for win64 (64bit)\r\n"
                           "compiling:    prog.bas -o prog.c (main module)\r\n";

// A message list written as "line:column:kind:text" entries, kind E or W.
std::vector<std::string> WRITTEN(const COMPILERMESSAGELIST &list) {
    std::vector<std::string> written;
    for (const COMPILERMESSAGE &m : list.Entries)
        written.push_back(std::to_string(m.Line) + ":" + std::to_string(m.Column) + ":" +
                          (m.Kind == MESSAGEWARNING ? "W" : "E") + ":" + m.Text);
    return written;
}

using LIST = std::vector<std::string>;

}  // namespace

TEST(FreeBasicMessages, EveryErrorAndWarningOfTheListing) {
    const std::string output = BANNER +
                               "prog.bas(3) error 10: Expected '=', found 'x'\r\n"
                               "    dim x y\r\n"
                               "          ^\r\n"
                               "prog.bas(5) warning 1(1): Passing scalar as pointer, at parameter 1 of FOO()\r\n"
                               "inc\\other.bi(2) error 42: Variable not declared, z\r\n"
                               "prog.bas(9) error 42: Variable not declared, q\r\n"
                               "prog.bas(9) error 3: Expected End-of-Line\r\n"
                               "Aborting due to previous errors\r\n";
    EXPECT_EQ(WRITTEN(FREEBASICMESSAGES(output, "prog.bas", 20)),
              (LIST{"2:-1:E:error 10: Expected '=', found 'x'",
                    "4:-1:W:warning 1(1): Passing scalar as pointer, at parameter 1 of FOO()",
                    "8:-1:E:error 42: Variable not declared, q", "8:-1:E:error 3: Expected End-of-Line"}));
}

// The name is matched as the compiler prints it, in the first place of the
// line where it can stand.
TEST(FreeBasicMessages, TheNameAsAWholeAndInEveryForm) {
    const struct {
        std::string Output, Name;
        LIST Expected;
    } cases[] = {
        {"myprog.bas(3) error 1: x", "prog.bas", {}},                 // the end of a longer name
        {"C:\\src\\myprog.bas(3) error 1: x", "prog.bas", {}},
        {"in prog.bas(3) error 1: x", "prog.bas", {}},                 // not where a name starts
        {"prog.bas(3) error 1: x", "prog.bas", {"2:-1:E:error 1: x"}},
        {"PROG.BAS(3) error 1: x", "prog.bas", {"2:-1:E:error 1: x"}},  // case
        {"Prog.Bas(3) error 1: x", "PROG.bas", {"2:-1:E:error 1: x"}},
        {"prog.baz(3) error 1: x", "prog.bas", {}},
        {"drog.bas(3) error 1: x", "prog.bas", {}},                     // the first letter counts
        {"QUIZ.BAS(3) error 1: x", "quiz.bas", {"2:-1:E:error 1: x"}},  // z and Z
        {"quiz.bas(3) error 1: x", "QUIZ.BAS", {"2:-1:E:error 1: x"}},
        {"quiY.bas(3) error 1: x", "quiz.bas", {}},
        {"\"my prog.bas\"(4) error 1: q", "my prog.bas", {"3:-1:E:error 1: q"}},  // quoted
        {"my prog.bas(7) error 10: q", "my prog.bas", {"6:-1:E:error 10: q"}},   // blank, bare
        {"\"C:\\my src\\my prog.bas\"(2) error 9: q", "my prog.bas", {"1:-1:E:error 9: q"}},
        {"C:/src/prog.bas(3) error 1: x", "prog.bas", {"2:-1:E:error 1: x"}},
        {"..\\prog.bas(3) error 1: x", "prog.bas", {"2:-1:E:error 1: x"}},
        {"xmy prog.bas(7) error 1: q", "my prog.bas", {}},
        {"\"xmy prog.bas\"(7) error 1: q", "my prog.bas", {}},
        {"prog.bas\"(3) error 1: x", "prog.bas", {"2:-1:E:error 1: x"}},
        {"prog.bas (3) error 1: x", "prog.bas", {}},
        {"[a] (b).bas(2) error 1: x", "[a] (b).bas", {"1:-1:E:error 1: x"}},   // brackets in the name
        {"12.bas(12) error 1: x", "12.bas", {"11:-1:E:error 1: x"}},            // named like a number
        {"2(3).bas(4) warning 2(0): w", "2(3).bas", {"3:-1:W:warning 2(0): w"}},
        {"prog.bas(3) error 1: x", "", {}},
        {"x\\prog.bas(1) warning 3(2): a\\prog.bas(2) error", "prog.bas", {"0:-1:W:warning 3(2): a\\prog.bas(2) error"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WRITTEN(FREEBASICMESSAGES(c.Output, c.Name, 100)), c.Expected) << c.Output;
}

// What follows the name's "(": a line number from 1 to the listing's last
// line, ")" and the word error or warning.
TEST(FreeBasicMessages, LineNumbersAndKinds) {
    const struct {
        std::string Output;
        std::int64_t LineCount;
        LIST Expected;
    } cases[] = {
        {"prog.bas() error 80: no position", 10, {}},
        {"prog.bas(0) error 1: x", 10, {}},
        {"prog.bas(1) error 1: x", 10, {"0:-1:E:error 1: x"}},
        {"prog.bas(10) error 1: x", 10, {"9:-1:E:error 1: x"}},   // the last line
        {"prog.bas(11) error 1: x", 10, {}},                        // past the end
        {"prog.bas(00010) error 1: x", 10, {"9:-1:E:error 1: x"}},
        {"prog.bas(99999999999999999999) error 1: x", 10, {}},      // 20 digits
        {"prog.bas(9223372036854775807) error 1: x", 9223372036854775807, {"9223372036854775806:-1:E:error 1: x"}},
        {"prog.bas(9223372036854775808) error 1: x", 9223372036854775807, {}},
        {"prog.bas(9223372036854775799) error 1: x", 9223372036854775807, {"9223372036854775798:-1:E:error 1: x"}},
        {"prog.bas(5 error 1: x", 10, {}},
        {"prog.bas(main) error 1: x", 10, {}},
        {"prog.bas(5) note: x", 10, {}},
        {"prog.bas(5) errors: x", 10, {}},
        {"prog.bas(5) errorA: x", 10, {}},
        {"prog.bas(5) errorZ: x", 10, {}},
        {"prog.bas(5) errora: x", 10, {}},
        {"prog.bas(5) errorz: x", 10, {}},
        {"prog.bas(5) error@: x", 10, {"4:-1:E:error@: x"}},
        {"prog.bas(5) error[: x", 10, {"4:-1:E:error[: x"}},
        {"prog.bas(5) error`: x", 10, {"4:-1:E:error`: x"}},
        {"prog.bas(5) error{: x", 10, {"4:-1:E:error{: x"}},
        {"prog.bas(5) warnings 1: x", 10, {}},
        {"prog.bas(5)error 1: x", 10, {"4:-1:E:error 1: x"}},
        {"prog.bas(5) \t ERROR 1: x  ", 10, {"4:-1:E:ERROR 1: x"}},
        {"prog.bas(5) Warning 4(3): level three", 10, {"4:-1:W:Warning 4(3): level three"}},
        {"prog.bas(5) error", 10, {"4:-1:E:error"}},
        {"prog.bas(5) error 1: x ", 10, {"4:-1:E:error 1: x"}},
        {"prog.bas(5) error 1: x\t\t\t", 10, {"4:-1:E:error 1: x"}},
        {"prog.bas(5)", 10, {}},
        {"prog.bas(5", 10, {}},
        {"prog.bas\"", 10, {}},
        {"prog.bas", 10, {}},
        {"prog.bas(5) warning", 10, {"4:-1:W:warning"}},
        {"prog.bas(5) error2: x", 10, {"4:-1:E:error2: x"}},
        {"prog.bas(5) error 1: a\tb\x01" "c", 10, {"4:-1:E:error 1: a b c"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WRITTEN(FREEBASICMESSAGES(c.Output, "prog.bas", c.LineCount)), c.Expected) << c.Output;
}

TEST(FreeBasicMessages, LineEndsAndOutputCutShort) {
    const struct {
        std::string Output;
        LIST Expected;
    } cases[] = {
        {"prog.bas(1) error 1: a\r\nprog.bas(2) error 2: b\r\n", {"0:-1:E:error 1: a", "1:-1:E:error 2: b"}},
        {"prog.bas(1) error 1: a\nprog.bas(2) error 2: b\n", {"0:-1:E:error 1: a", "1:-1:E:error 2: b"}},
        {"prog.bas(1) error 1: a\rprog.bas(2) error 2: b\r", {"0:-1:E:error 1: a", "1:-1:E:error 2: b"}},
        {"prog.bas(1) error 1: a\n\rprog.bas(2) error 2: b", {"0:-1:E:error 1: a", "1:-1:E:error 2: b"}},
        {"prog.bas(1) error 1: a\r\n\r\n\r\nprog.bas(2) error 2: b", {"0:-1:E:error 1: a", "1:-1:E:error 2: b"}},
        {"\r\nprog.bas(2) warning 2(1): b", {"1:-1:W:warning 2(1): b"}},
        // Cut in the middle of a message: as far as it goes.
        {"prog.bas(1) error 1: a\r\nprog.bas(2) error 2: Expec", {"0:-1:E:error 1: a", "1:-1:E:error 2: Expec"}},
        {"prog.bas(1) error 1: a\r\nprog.bas(2) err", {"0:-1:E:error 1: a"}},
        {"prog.bas(1) error 1: a\r\nprog.bas(2", {"0:-1:E:error 1: a"}},
        {"prog.bas(1) error 1: a\r\nprog.b", {"0:-1:E:error 1: a"}},
        {"prog.bas(1) error 1: a\r", {"0:-1:E:error 1: a"}},
        {"", {}},
        {"\r\n", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WRITTEN(FREEBASICMESSAGES(c.Output, "prog.bas", 10)), c.Expected) << c.Output;
}

TEST(FreeBasicMessages, OutputThatIsNotText) {
    // Zero bytes neither end the output nor reach the text.
    const char written[] = "\0\0\r\nprog.bas(2) error 1: a\0b\r\n\0prog.bas(3) error 2: c";
    const std::string zeros(written, sizeof written - 1);
    EXPECT_EQ(WRITTEN(FREEBASICMESSAGES(zeros, "prog.bas", 10)), (LIST{"1:-1:E:error 1: a b"}));
    const std::string high = "prog.bas(4) error 1: \xFF\xFE\x80 \xC3(\r\n";
    EXPECT_EQ(WRITTEN(FREEBASICMESSAGES(high, "prog.bas", 10)), (LIST{"3:-1:E:error 1: \xFF\xFE\x80 \xC3("}));
    // A message of 100 KB is kept only as far as it can be shown.
    const std::string huge = "prog.bas(1) error 1: " + std::string(100000, 'm');
    const COMPILERMESSAGELIST list = FREEBASICMESSAGES(huge, "prog.bas", 10);
    ASSERT_EQ(list.Entries.size(), 1u);
    EXPECT_EQ(list.Entries[0].Text.size(), 2 * MOSTMESSAGEBYTES);
    EXPECT_EQ(list.Entries[0].Text.substr(0, 9), "error 1: ");
}

TEST(FreeBasicMessages, AThousandMarkedAndTheRestCounted) {
    std::string output;
    for (int i = 1; i <= 1002; ++i)
        output += "prog.bas(" + std::to_string(i) + ") error 1: e\r\n";
    output += "prog.bas(5000) error 1: past the end\r\n";
    COMPILERMESSAGELIST list = FREEBASICMESSAGES(output, "prog.bas", 1002);
    ASSERT_EQ(list.Entries.size(), MOSTMARKS);
    EXPECT_EQ(list.Entries.back().Line, 999);
    EXPECT_EQ(list.Beyond, 2u);
    list = FREEBASICMESSAGES(output, "prog.bas", 1000);
    EXPECT_EQ(list.Entries.size(), 1000u);
    EXPECT_EQ(list.Beyond, 0u);
    list = FREEBASICMESSAGES(output, "prog.bas", 999);
    EXPECT_EQ(list.Entries.size(), 999u);
    EXPECT_EQ(list.Beyond, 0u);
}

// Large outputs take time in proportion to their size: a million short
// lines, one line of a megabyte made of parts of the name, and separators.
TEST(FreeBasicMessages, LargeOutputsEnd) {
    std::string lines;
    for (int i = 0; i < 1000000; ++i)
        lines += "p\n";
    EXPECT_TRUE(FREEBASICMESSAGES(lines, "prog.bas", 10).Entries.empty());
    std::string names;
    while (names.size() < 1000000)
        names += "\\prog.ba\"prog.bas";
    EXPECT_TRUE(FREEBASICMESSAGES(names, "prog.bas", 10).Entries.empty());
    std::string many;
    while (many.size() < 1000000)
        many += "prog.bas(7) warning 1(1): w\n";
    const COMPILERMESSAGELIST list = FREEBASICMESSAGES(many, "prog.bas", 10);
    EXPECT_EQ(list.Entries.size(), MOSTMARKS);
    EXPECT_EQ(list.Beyond, many.size() / 28 - MOSTMARKS);
}

TEST(PowerBasicMessages, EveryErrorEntryNamingTheListing) {
    const std::string log = "PowerBASIC for Windows\r\nCopyright (c) 1996-2011 PowerBasic Inc.\r\n"
                            "Error 426 in C:\\src\\prog.bas(12:5):  Statement expected\r\nLine 12: x y\r\n"
                            "Error 519 in C:\\src\\inc\\win.inc(3:1):  Missing declaration\r\n"
                            "Error 516 in C:\\Projects (2)\\PROG.BAS(30:11):  Missing declaration: q\r\n"
                            "Error 1 in C:\\a\\prog.bas(7)\r\n"
                            "Error 2 in prog.bas(8:0): zero column\r\n"
                            "Warning 3 in prog.bas(9:1): not an error\r\n"
                            " Error 4 in prog.bas(9:1): indented\r\n"
                            "Error 5 in myprog.bas(9:1): another file\r\n"
                            "Error 6 in \"C:\\my src\\prog.bas\"(10:2): quoted\r\n"
                            "Error 7 in prog.bas(99999999999999999999:1): too large\r\n"
                            "Error 8 in prog.bas(11:99999999999999999999) column too large\n"
                            "Error 9 in prog.bas(0:1): line zero\r"
                            "Error 10 in prog.bas(2";
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES(log, "prog.bas", 40)),
              (LIST{"11:4:E:Error 426: Statement expected", "29:10:E:Error 516: Missing declaration: q",
                    "6:-1:E:Error 1", "7:-1:E:Error 2: zero column", "9:1:E:Error 6: quoted",
                    "10:-1:E:Error 8: column too large", "1:-1:E:Error 10"}));
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES("Error 426 in prog.bas(1:1): first line", "prog.bas", 5)),
              (LIST{"0:0:E:Error 426: first line"}));
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES("Error 9(1:1) x", "prog.bas", 5)), LIST{});
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES("Error prog.bas(5:1)", "prog.bas", 5)), (LIST{"4:0:E:Error prog.bas"}));
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES("Error prog.bas(6:1)", "prog.bas", 5)), LIST{});
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES("Error 1 in prog.bas(5:1)", "", 5)), LIST{});
    EXPECT_EQ(WRITTEN(POWERBASICMESSAGES("Error 1 in prog.bas(x) prog.bas(3)", "prog.bas", 5)),
              (LIST{"2:-1:E:Error 1"}));
}

TEST(Annotation, MessagesOnePerLineCutAtCharacters) {
    EXPECT_EQ(ANNOTATIONTEXT({}), "");
    EXPECT_EQ(ANNOTATIONTEXT({"error 1: a"}), "error 1: a");
    EXPECT_EQ(ANNOTATIONTEXT({"error 1: a", "warning 2(1): b"}), "error 1: a\nwarning 2(1): b");
    const std::string exact(MOSTMESSAGEBYTES, 'x');
    EXPECT_EQ(ANNOTATIONTEXT({exact}), exact);
    EXPECT_EQ(ANNOTATIONTEXT({exact + "y"}), exact + "...");
    // A character of two bytes across the limit is left out whole.
    const std::string wide = std::string(MOSTMESSAGEBYTES - 1, 'x') + "\xC3\xA9";
    EXPECT_EQ(ANNOTATIONTEXT({wide}), std::string(MOSTMESSAGEBYTES - 1, 'x') + "...");
    const std::string three = std::string(MOSTMESSAGEBYTES - 2, 'x') + "\xE6\x97\xA5";
    EXPECT_EQ(ANNOTATIONTEXT({three}), std::string(MOSTMESSAGEBYTES - 2, 'x') + "...");
    const std::string fits = std::string(MOSTMESSAGEBYTES - 3, 'x') + "\xE6\x97\xA5";
    EXPECT_EQ(ANNOTATIONTEXT({fits}), fits);
}

TEST(Annotation, ManyMessagesOnOneLine) {
    // Each message 99 bytes plus its line break: 40 fill 3,999 bytes.
    const std::vector<std::string> forty(40, std::string(99, 'm'));
    const std::string all = ANNOTATIONTEXT(forty);
    EXPECT_EQ(all.size(), 40u * 100 - 1);
    std::vector<std::string> more = forty;
    more.push_back("x");
    more.push_back("y");
    EXPECT_EQ(ANNOTATIONTEXT(more), all + "\n... 2 more");
    const std::vector<std::string> longer(41, std::string(99, 'm'));
    EXPECT_EQ(ANNOTATIONTEXT(longer), all + "\n... 1 more");
    const std::vector<std::string> huge(3000, std::string(100000, 'h'));
    const std::string cut = ANNOTATIONTEXT(huge);
    EXPECT_LE(cut.size(), MOSTANNOTATIONBYTES + 20);
    EXPECT_NE(cut.find("... 2,993 more"), std::string::npos);
}

TEST(ResultBox, LastLine) {
    EXPECT_EQ(RESULTLASTLINE(0, 0), "");
    EXPECT_EQ(RESULTLASTLINE(MOSTOUTPUTBYTES, 0), "");
    EXPECT_EQ(RESULTLASTLINE(MOSTOUTPUTBYTES + 1, 0), "Only the first 1 MB of the compiler's 1,048,577 bytes was read.");
    EXPECT_EQ(RESULTLASTLINE(10, 1), "1 more message was not marked (at most 1,000 are).");
    EXPECT_EQ(RESULTLASTLINE(10, 2), "2 more messages were not marked (at most 1,000 are).");
    EXPECT_EQ(RESULTLASTLINE(5000000, 23456), "Only the first 1 MB of the compiler's 5,000,000 bytes was read. "
                                              "23,456 more messages were not marked (at most 1,000 are).");
}

TEST(ResultBox, GroupedNumbers) {
    const std::pair<std::uint64_t, const char *> cases[] = {
        {0, "0"},           {999, "999"},          {1000, "1,000"},
        {99999, "99,999"},  {100000, "100,000"},   {1234567, "1,234,567"},
        {18446744073709551615ull, "18,446,744,073,709,551,615"},
    };
    for (const auto &[number, text] : cases)
        EXPECT_EQ(GROUPEDNUMBER(number), text);
}
