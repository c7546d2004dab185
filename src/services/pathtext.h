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

// Paths that the file functions take as they are, whatever their length: the
// long form ("\\?\") and device paths ("\\.\", such as a pipe or a
// volume), with either kind of slash.
bool ISLITERALPATH(std::string_view path);
// The length at which a full path needs the long form: below it, every file
// function takes the path as it is (CreateDirectory's limit, MAX_PATH - 12).
constexpr std::size_t LONGFORMLENGTH = 248;
// The path as the file functions should get it, decided on its full form (as
// GetFullPathName gives it; a relative path may resolve past the limit): the
// path as given while the full form is shorter than LONGFORMLENGTH in UTF-16
// units, else the full form as "\\?\C:\..." or, for a share,
// "\\?\UNC\server\...". A literal path is always the path as given.
std::string FILESYSTEMPATH(std::string_view given, std::string_view full);
