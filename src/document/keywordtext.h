// Text rules of the keyword lists.
#pragma once
#include <string>
#include <string_view>

// A built-in list as stored: the text padded with zero bytes at its end.
std::string_view STRIPTRAILINGZEROS(std::string_view stored);

// The list handed to the lexer: Basic list, one blank, API list, lower-cased.
std::string JOINKEYWORDS(std::string_view basic, std::string_view api);
