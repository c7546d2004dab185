// Path and text helpers shared by every part of the program: folders and
// names of paths, letter case, cuts. Text and numbers only.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The path up to and including its last backslash or slash; fallback when it
// has neither.
std::string FOLDEROF(std::string_view path, std::string_view fallback = {});
// The part of a path after its last backslash or slash (the whole path when
// it has neither).
std::string FILEPART(std::string_view path);
// The folder of a program file (up to and including its last backslash),
// empty when it has none.
std::string EXEDIROF(std::string_view exePath);
// The parent of a folder that ends with a backslash, with its own trailing
// backslash; empty at the top.
std::string PARENTFOLDEROF(std::string_view exeDir);

// Copies with ASCII letters changed: the names and extensions compared
// against are ASCII, and other bytes of an ANSI path must stay as they are.
std::string UPPERTEXT(std::string_view text);
std::string LOWERTEXT(std::string_view text);
char UPPERCHAR(char c);
// The last n characters upper-cased (the whole text when it is shorter).
std::string UPPERTAIL(std::string_view text, std::size_t n);
bool ENDSWITHNOCASE(std::string_view text, std::string_view tail);

// UTF-8 text cut after max characters, counted as Windows counts them (in
// UTF-16 units); a character is never cut in two.
std::string CUTTEXT(std::string_view text, std::size_t max);
