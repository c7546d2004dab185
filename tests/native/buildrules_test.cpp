#include "compiling/buildrules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "argsplit.h"

namespace {

int32_t SCAN(const std::vector<std::string> &lines, std::string &name) {
    name = "stale";
    return SCANCOMPILEDIRECTIVE(lines, name);
}

}  // namespace

TEST(CompileDirective, FoundWithinTheFirstHundredLinesOnly) {
    std::vector<std::string> lines(100, "' a comment line\r\n");
    lines.push_back("#COMPILE EXE \"late.exe\"\r\n");
    std::string name;
    EXPECT_EQ(SCAN(lines, name), DIRECTIVENONE);
    EXPECT_EQ(name, "");
    lines[99] = "#COMPILE EXE \"last.exe\"\r\n";
    EXPECT_EQ(SCAN(lines, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "last.exe");
    EXPECT_EQ(SCAN({}, name), DIRECTIVENONE);
}

TEST(CompileDirective, LinesOfTwelveBytesOrLessAreSkipped) {
    std::string name;
    // 12 characters without a line end: skipped.
    EXPECT_EQ(SCAN({"#COMPILE EXE"}, name), DIRECTIVENONE);
    // The same with CR LF is 14 bytes and is examined.
    EXPECT_EQ(SCAN({"#COMPILE EXE\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "");
    EXPECT_EQ(SCAN({"#COMPILE DLL\r"}, name), DIRECTIVELIBRARY);
}

TEST(CompileDirective, ApostropheEndsTheExaminedText) {
    std::string name;
    EXPECT_EQ(SCAN({"' #COMPILE EXE \"x.exe\"\r\n"}, name), DIRECTIVENONE);
    EXPECT_EQ(SCAN({"#COMPILE EXE ' makes \"tool.exe\"\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "");
    // An apostrophe inside the quotes cuts the name: one quote is left, and
    // the rest without its last character is the name.
    EXPECT_EQ(SCAN({"#COMPILE EXE \"it's.exe\"\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "i");
    EXPECT_EQ(SCAN({"#COMPILE DLL 'DLL later\r\n", "#COMPILE EXE\r\n"}, name), DIRECTIVELIBRARY);
}

TEST(CompileDirective, LibraryRulesAndNames) {
    std::string name;
    EXPECT_EQ(SCAN({"#Compile Dll \"my lib.dll\"\r\n"}, name), DIRECTIVELIBRARY);
    EXPECT_EQ(name, "my lib.dll");
    // "dll" inside the quoted name of an EXE does not make a library.
    EXPECT_EQ(SCAN({"#COMPILE EXE \"dllview.exe\"\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "dllview.exe");
    EXPECT_EQ(SCAN({"#compile exe \"a\" \"b.exe\"\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "a\" \"b.exe");
    // Without a quote, DLL anywhere in the line counts.
    EXPECT_EQ(SCAN({"#COMPILE EXE REM-DLL\r\n"}, name), DIRECTIVELIBRARY);
    // One quote only: the rest of the line without its last character.
    EXPECT_EQ(SCAN({"#COMPILE EXE \"open.exe\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "open.exe\r");
}

TEST(CompileDirective, TheFirstLineHoldingCompileWins) {
    std::string name;
    EXPECT_EQ(SCAN({"#COMPILER PBWIN 10\r\n", "#COMPILE DLL \"x.dll\"\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "");
    EXPECT_EQ(SCAN({"short\r\n", "Print \"recompiled\"\r\n"}, name), DIRECTIVEPROGRAM);
    EXPECT_EQ(name, "recompiled");
}

TEST(FreeBasicCommandLine, EveryTargetType) {
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\fb\\inc\\", "prog.bas", 0, "", ""), " -s console -v -i C:\\fb\\inc\\ prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 1, "", ""), " -s gui -v -i C:\\inc prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 2, "", ""), " -dll -v -i C:\\inc prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 3, "", ""), " -lib -v -i C:\\inc prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 4, "", ""), " -c -v -i C:\\inc prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 7, "", ""), " -s console -v -i C:\\inc prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", -1, "", ""), " -s console -v -i C:\\inc prog.bas");
}

TEST(FreeBasicCommandLine, OutputResourceAndBlanks) {
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 3, "my lib.a", ""),
              " -lib -v -i C:\\inc -x \"my lib.a\" prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "my prog.bas", 1, "out.exe", "res.rc"),
              " -s gui -v -i C:\\inc -x out.exe \"my prog.bas\" res.rc");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\inc", "prog.bas", 0, "", "my res.rc"),
              " -s console -v -i C:\\inc prog.bas \"my res.rc\"");
    // A quoted folder keeps its closing quote a quote.
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\Free Basic\\inc\\", "prog.bas", 0, "", ""),
              " -s console -v -i \"C:\\Free Basic\\inc\\\\\" prog.bas");
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\Free Basic\\inc", "prog.bas", 0, "", ""),
              " -s console -v -i \"C:\\Free Basic\\inc\" prog.bas");
}

TEST(FreeBasicCommandLine, EveryNameArrivesAsOneArgument) {
    using ARGUMENTS = std::vector<std::string>;
    const struct {
        std::string Include, File, Output, Resource;
    } cases[] = {
        {"C:\\fb\\inc\\", "prog.bas", "prog.exe", "prog.rc"},
        {"C:\\Free Basic\\inc\\", "my prog.bas", "C:\\out dir\\my prog.exe", "C:\\my res\\a b.rc"},
        {"C:\\Free Basic\\inc\\\\", "prog.bas", "out.exe", "res.rc"},
        {"C:\\tab\tinc\\", "tab\tname.bas", "C:\\a\\b\\ c.exe", "x\ty.rc"},
        {"C:\\a b\\\\c\\", "a  b.bas", " lead.exe", "trail .rc"},
    };
    for (const auto &c : cases) {
        const std::string line = FREEBASICCOMMANDLINE(c.Include, c.File, 0, c.Output, c.Resource);
        EXPECT_EQ(SPLITARGUMENTS(line),
                  (ARGUMENTS{"-s", "console", "-v", "-i", c.Include, "-x", c.Output, c.File, c.Resource}))
            << line;
    }
    EXPECT_EQ(FREEBASICCOMMANDLINE("C:\\tab\tinc\\", "prog.bas", 4, "", ""),
              " -c -v -i \"C:\\tab\tinc\\\\\" prog.bas");
}

// Names from the listing and its block never reach the compiler as options
// or as a file of options; an absolute name needs no change.
TEST(FreeBasicCommandLine, NoNameIsReadAsAnOption) {
    using ARGUMENTS = std::vector<std::string>;
    const struct {
        std::string File, Output, Resource;
        ARGUMENTS Expected;
    } cases[] = {
        {"prog.bas", "out.exe", "@opts.txt", {"-x", "out.exe", "prog.bas", ".\\@opts.txt"}},
        {"prog.bas", "-prefix=C:\\x", "a.rc", {"-x", ".\\-prefix=C:\\x", "prog.bas", "a.rc"}},
        {"-v.bas", "@o.exe", "-lib", {"-x", ".\\@o.exe", ".\\-v.bas", ".\\-lib"}},
        {"@prog.bas", "C:\\out\\-o.exe", "C:\\r\\@r.rc", {"-x", "C:\\out\\-o.exe", ".\\@prog.bas", "C:\\r\\@r.rc"}},
        {"a-b@.bas", "o@.exe", "r-.rc", {"-x", "o@.exe", "a-b@.bas", "r-.rc"}},
    };
    for (const auto &c : cases) {
        const std::string line = FREEBASICCOMMANDLINE("C:\\inc\\", c.File, 0, c.Output, c.Resource);
        ARGUMENTS expected{"-s", "console", "-v", "-i", "C:\\inc\\"};
        expected.insert(expected.end(), c.Expected.begin(), c.Expected.end());
        EXPECT_EQ(SPLITARGUMENTS(line), expected) << line;
    }
    EXPECT_EQ(POWERBASICCOMMANDLINE("C:\\PB\\PBWIN.EXE", "@prog.bas", "C:\\PB\\INC"),
              "C:\\PB\\PBWIN.EXE /L /Q .\\@prog.bas /IC:\\PB\\INC");
    EXPECT_EQ(POWERBASICCOMMANDLINE("C:\\PB\\PBWIN.EXE", "-x y.bas", "C:\\PB\\INC"),
              "C:\\PB\\PBWIN.EXE /L /Q \".\\-x y.bas\" /IC:\\PB\\INC");
}

TEST(FreeBasicCommandLine, CutAt519Characters) {
    const std::string folder = "C:\\" + std::string(256, 'i');
    const std::string line = FREEBASICCOMMANDLINE(folder, std::string(250, 'p') + ".bas", 0, std::string(259, 'o'),
                                                  std::string(259, 'r'));
    EXPECT_EQ(line.size(), 519u);
    EXPECT_EQ(line.substr(0, 24), " -s console -v -i C:\\iii");
}

TEST(PowerBasicCommandLine, Form) {
    EXPECT_EQ(POWERBASICCOMMANDLINE("C:\\PBWIN90\\BIN\\PBWIN.EXE", "prog.bas", "C:\\PBWIN90\\WINAPI\\"),
              "C:\\PBWIN90\\BIN\\PBWIN.EXE /L /Q prog.bas /IC:\\PBWIN90\\WINAPI\\");
    EXPECT_EQ(POWERBASICCOMMANDLINE("C:\\PB\\PBCC.EXE", "my prog.bas", "C:\\PB\\INC"),
              "C:\\PB\\PBCC.EXE /L /Q \"my prog.bas\" /IC:\\PB\\INC");
}

// On a volume without short names the "short" names keep their blanks.
TEST(PowerBasicCommandLine, ShortNamesThatStillHoldBlanksAreQuoted) {
    const struct {
        std::string Compiler, File, Include, Line;
    } cases[] = {
        {R"(D:\Power Basic\Bin\PBWIN.EXE)", "prog.bas", R"(D:\Power Basic\WinAPI\)",
         R"("D:\Power Basic\Bin\PBWIN.EXE" /L /Q prog.bas /I"D:\Power Basic\WinAPI")"},
        {R"(D:\PB\PBWIN.EXE)", "prog.bas", R"(D:\Power Basic\WinAPI)",
         R"(D:\PB\PBWIN.EXE /L /Q prog.bas /I"D:\Power Basic\WinAPI")"},
        {R"(D:\PB\PBWIN.EXE)", "my prog.bas", R"(D:\Power Basic\WinAPI\\)",
         R"(D:\PB\PBWIN.EXE /L /Q "my prog.bas" /I"D:\Power Basic\WinAPI")"},
        {R"(D:\Power Basic\PBCC.EXE)", "prog.bas", R"(D:\PB\INC\)",
         R"("D:\Power Basic\PBCC.EXE" /L /Q prog.bas /ID:\PB\INC\)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(POWERBASICCOMMANDLINE(c.Compiler, c.File, c.Include), c.Line) << c.Line;
}

TEST(CompilerOutput, FirstBytesUpToAZero) {
    EXPECT_EQ(OUTPUTSHOWN(std::string(5000, 'x')), std::string(2048, 'x'));
    EXPECT_EQ(OUTPUTSHOWN(std::string("ok\0rest", 7)), "ok");
    EXPECT_EQ(OUTPUTSHOWN(std::string(2048, 'a') + std::string(1, '\0')), std::string(2048, 'a'));
    EXPECT_EQ(OUTPUTSHOWN(""), "");
}

TEST(ErrorPosition, NameFollowedByLineNumber) {
    const std::string banner = "FreeBASIC Compiler - Version 1.10.1\r\ncompiling:    prog.bas -o prog.asm (main module)\r\n";
    EXPECT_EQ(FINDERRORLINE(banner + "prog.bas(12) error 10: Expected '=', found 'x'\r\n", "prog.bas"), 11);
    EXPECT_EQ(FINDERRORLINE("prog.bas(1) error 3\r\nprog.bas(9) error 4\r\n", "prog.bas"), 0);
    // No position at all.
    EXPECT_EQ(FINDERRORLINE(banner + "linking: done\r\n", "prog.bas"), -1);
    EXPECT_EQ(FINDERRORLINE("other.bas(3) error 1\r\n", "prog.bas"), -1);
    EXPECT_EQ(FINDERRORLINE("", "prog.bas"), -1);
}

TEST(ErrorPosition, QuotedAndBareNames) {
    // As placed on the command line...
    EXPECT_EQ(FINDERRORLINE("\"my prog.bas\"(4) error 1\r\n", "my prog.bas"), 3);
    // ...and as the compiler prints it.
    EXPECT_EQ(FINDERRORLINE("my prog.bas(7) error 10: Expected '='\r\n", "my prog.bas"), 6);
    // The quoted form is preferred when both appear.
    EXPECT_EQ(FINDERRORLINE("my prog.bas(7) x\r\n\"my prog.bas\"(2) y\r\n", "my prog.bas"), 1);
}

// Only the whole file name counts: at a line's start, after a folder's
// separator or after a quote; in quotes before bare.
TEST(ErrorPosition, TheWholeNameOnly) {
    const struct {
        std::string Output, Name;
        int64_t Line;
    } cases[] = {
        {"myprog.bas(3) error 1\r\n", "prog.bas", -1},
        {"C:\\src\\myprog.bas(3) error 1\r\n", "prog.bas", -1},
        {"in prog.bas(3) error 1\r\n", "prog.bas", -1},
        {"prog.bas(3) error 1\r\n", "prog.bas", 2},
        {"compiling\r\nprog.bas(5) error\r\n", "prog.bas", 4},
        {"compiling\nprog.bas(5) error\n", "prog.bas", 4},
        {"compiling\rprog.bas(5) error", "prog.bas", 4},
        {"\"prog.bas\"(1) error", "prog.bas", 0},
        {".\\@prog.bas(6) error", "@prog.bas", 5},
        {"C:\\src\\prog.bas(3) error 1\r\n", "prog.bas", 2},
        {"..\\prog.bas(3) error 1\r\n", "prog.bas", 2},
        {"C:/src/prog.bas(3) error 1\r\n", "prog.bas", 2},
        {"\"prog.bas\"(3) error 1\r\n", "prog.bas", 2},
        {"\"C:\\src\\prog.bas\"(3) error 1\r\n", "prog.bas", 2},
        {"x\"prog.bas(3) error 1\r\n", "prog.bas", 2},
        {"myprog.bas(3) x\r\nC:\\src\\prog.bas(8) y\r\n", "prog.bas", 7},
        {"prog.bas(7) x\r\n\"prog.bas\"(2) y\r\n", "prog.bas", 1},
        {"\"C:\\my src\\my prog.bas\"(2) e\r\n", "my prog.bas", 1},
        {"xmy prog.bas(7) error\r\n", "my prog.bas", -1},
        {"\"xmy prog.bas\"(7) error\r\n", "my prog.bas", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FINDERRORLINE(c.Output, c.Name), c.Line) << c.Output;
}

TEST(ErrorPosition, NameFollowedByANonNumberIsNoPosition) {
    EXPECT_EQ(FINDERRORLINE("prog.bas(main) warning\r\n", "prog.bas"), -1);
    EXPECT_EQ(FINDERRORLINE("prog.bas() x\r\nprog.bas(0) y\r\nprog.bas(5) error\r\n", "prog.bas"), 4);
    EXPECT_GT(FINDERRORLINE("prog.bas(" + std::string(40, '9') + ") error\r\n", "prog.bas"), 100000000);
}

TEST(LogSearch, ErrorLineAndColumn) {
    const std::string log = "PowerBASIC for Windows\r\nCopyright (c) 1996-2011 PowerBasic Inc.\r\n"
                            "Error 426 in C:\\src\\prog.bas(12:5):  Statement expected\r\nLine 12: x y\r\n";
    const LOGERRORPOSITION error = FINDLOGERROR(log);
    ASSERT_TRUE(error.Found);
    EXPECT_EQ(error.Line, 11);
    EXPECT_EQ(error.Column, 4);
}

TEST(LogSearch, AnErrorOnTheFirstLineIsNotFound) {
    EXPECT_FALSE(FINDLOGERROR("Error 426 in C:\\src\\prog.bas(12:5):  Statement expected\r\n").Found);
    EXPECT_FALSE(FINDLOGERROR("PowerBASIC\r\nCompile time: 0.1 seconds\r\nNo errors\r\n").Found);
    EXPECT_FALSE(FINDLOGERROR("PowerBASIC\nError 426 in x.bas(12:5)\n").Found);  // LF alone starts no line here
    EXPECT_FALSE(FINDLOGERROR("").Found);
}

TEST(LogSearch, ParenthesisInThePath) {
    const LOGERRORPOSITION error =
        FINDLOGERROR("PowerBASIC\r\nError 516 in C:\\Projects (2)\\prog.bas(30:11):  Missing declaration\r\n");
    ASSERT_TRUE(error.Found);
    EXPECT_EQ(error.Line, 29);
    EXPECT_EQ(error.Column, 10);
    // Without a "(line:column)" the first parenthesis gives the line.
    const LOGERRORPOSITION plain = FINDLOGERROR("PB\r\nError 1 in C:\\a\\b.bas(7)\r\n");
    ASSERT_TRUE(plain.Found);
    EXPECT_EQ(plain.Line, 6);
    EXPECT_EQ(plain.Column, 0);
    EXPECT_FALSE(FINDLOGERROR("PB\r\nError 1 in C:\\a (old)\\b.bas\r\n").Found);
}

TEST(LogName, TheExtensionBecomesLog) {
    const struct {
        std::string Listing, Log;
        bool IsListing;
    } cases[] = {
        {"C:\\src\\prog.bas", "C:\\src\\prog.log", false},
        {"C:\\src\\x.bi", "C:\\src\\x.log", false},
        {"x.bi", "x.log", false},
        {"C:\\src\\prog.b", "C:\\src\\prog.log", false},
        {"C:\\src\\prog.v2.bas", "C:\\src\\prog.v2.log", false},
        {"C:\\src\\prog.", "C:\\src\\prog.log", false},
        {"C:\\src\\catalog", "C:\\src\\catalog.log", false},
        {"ab", "ab.log", false},
        // A point in a folder's name is not the file's extension.
        {"C:\\my.dir\\prog", "C:\\my.dir\\prog.log", false},
        {"C:/my.dir/prog", "C:/my.dir/prog.log", false},
        // A listing that is itself a log is never read or deleted as one.
        {"C:\\src\\prog.log", "C:\\src\\prog.log", true},
        {"C:\\src\\PROG.LOG", "C:\\src\\PROG.log", true},
        {"C:\\my.dir\\.log", "C:\\my.dir\\.log", true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LOGFILENAME(c.Listing), c.Log) << c.Listing;
        EXPECT_EQ(LOGISLISTING(c.Listing), c.IsListing) << c.Listing;
    }
}

TEST(RunName, FreeBasic) {
    EXPECT_EQ(FREEBASICPROGRAM("C:\\src\\prog.bas", 0, ""), "C:\\src\\prog.exe");
    EXPECT_EQ(FREEBASICPROGRAM("C:\\src\\prog.bas", 1, "out\\tool.exe"), "out\\tool.exe");
    EXPECT_EQ(FREEBASICPROGRAM("C:\\my src\\my prog.bas", 1, ""), "C:\\my src\\my prog.exe");
    EXPECT_EQ(FREEBASICPROGRAM("C:\\src\\prog.v2.bas", 0, ""), "C:\\src\\prog.v2.exe");
    EXPECT_EQ(FREEBASICPROGRAM("C:\\src\\prog", 0, ""), "exe");
    for (int type : {2, 3, 4, 9})
        EXPECT_EQ(FREEBASICPROGRAM("C:\\src\\prog.bas", type, "x.exe"), "") << type;
}

TEST(RunName, PowerBasic) {
    EXPECT_EQ(POWERBASICPROGRAM("C:\\src\\prog.bas", DIRECTIVENONE, ""), "C:\\src\\prog.exe");
    EXPECT_EQ(POWERBASICPROGRAM("C:\\src\\prog.bas", DIRECTIVEPROGRAM, ""), "C:\\src\\prog.exe");
    EXPECT_EQ(POWERBASICPROGRAM("C:\\src\\prog.bas", DIRECTIVEPROGRAM, "tool.exe"), "C:\\src\\tool.exe");
    EXPECT_EQ(POWERBASICPROGRAM("C:\\src\\prog.bas", DIRECTIVEPROGRAM, "bin\\tool.exe"), "C:\\src\\bin\\tool.exe");
    EXPECT_EQ(POWERBASICPROGRAM("C:\\src\\prog.bas", DIRECTIVELIBRARY, "x.dll"), "");
    EXPECT_EQ(POWERBASICPROGRAM("C:\\src\\prog.pbw", DIRECTIVENONE, ""), "C:\\src\\prog.exe");
}

TEST(BuildMessages, Texts) {
    EXPECT_EQ(NOINCLUDEMESSAGE(), "No valid INCLUDE directory set (see menu \"Options\").");
    EXPECT_EQ(NOFREEBASICCOMPILERMESSAGE(),
              "Couldn't find compiler. Check compiler path+filename (see menu \"Options-->General settings\").");
    EXPECT_EQ(NOFILENAMEMESSAGE("C:\\src\\"), "Illegal or no filename for the current listing.\rC:\\src\\");
    EXPECT_EQ(FREEBASICSTARTMESSAGE("C:\\fbc.exe", " -c"), "Application:\rC:\\fbc.exe\r\rCommand line:\r -c");
    EXPECT_EQ(POWERBASICSTARTMESSAGE("PB.EXE /L"), "Command line:\r\rPB.EXE /L");
    EXPECT_EQ(NOLOGMESSAGE("C:\\a.log"), "Couldn't find the Log File.\rC:\\a.log");
    EXPECT_EQ(PROGRAMNOTFOUNDMESSAGE("exe"), "File not found:\rexe");
}

// Run starts a program only when the compilation changed the file: absent
// before, or another size or write time now. A date in the future proves
// nothing, and neither does a clock that differs from the file system's.
TEST(RunName, OnlyAProgramTheCompilationChangedIsStarted) {
    const std::uint64_t in2099 = 0x0267A3D9C0E7C000ull;
    const PROGRAMFILESTATE absent{};
    const PROGRAMFILESTATE old{true, 4096, 1000};
    const struct {
        PROGRAMFILESTATE Before, After;
        bool Written;
    } cases[] = {
        {absent, {true, 4096, 1000}, true},             // a new program
        {absent, {true, 0, 0}, true},                   // even an empty one
        {old, {true, 4096, 1001}, true},                // rewritten, same size
        {old, {true, 4097, 1000}, true},                // same time, another size
        {old, {true, 4095, 1000}, true},
        {old, old, false},                              // left alone
        {{true, 512, in2099}, {true, 512, in2099}, false},  // dated 2099 beside a downloaded listing
        {{true, 512, in2099}, {true, 512, in2099 - 1}, true},
        {old, absent, false},                           // deleted by the compiler: nothing to start
        {absent, absent, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WRITTENBYCOMPILE(c.Before, c.After), c.Written)
            << c.Before.Present << "/" << c.Before.Size << "/" << c.Before.Written << " -> " << c.After.Present
            << "/" << c.After.Size << "/" << c.After.Written;
}

TEST(BuildMessages, TimeOutAndNotBuilt) {
    EXPECT_EQ(COMPILERTIMEOUTMESSAGE(1), "The compiler did not finish within 1 second (CompileTimeout).\r"
                                         "It was ended, together with the programs it had started.");
    EXPECT_EQ(COMPILERTIMEOUTMESSAGE(2), "The compiler did not finish within 2 seconds (CompileTimeout).\r"
                                         "It was ended, together with the programs it had started.");
    EXPECT_EQ(COMPILERTIMEOUTMESSAGE(30), "The compiler did not finish within 30 seconds (CompileTimeout).\r"
                                          "It was ended, together with the programs it had started.");
    EXPECT_EQ(NOTBUILTMESSAGE("C:\\a b\\x.exe"), "This compilation did not write the program to run:\r"
                                                 "C:\\a b\\x.exe\r"
                                                 "It is the same file as before the compilation, so it was not started.");
}
