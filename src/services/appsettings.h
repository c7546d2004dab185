// The process-wide settings record and the pure rules that fill it.
#pragma once
#include <cstdint>
#include <string>

// A window's outer rectangle in screen pixels; right 0 means nothing stored.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};
static_assert(sizeof(WindowRect) == 16, "stored as a 16-byte record");

constexpr int SYNTAXCOLORCOUNT = 15;

// The compiler the listings are written for; stored as its number in the INI
// file ("CompilerType").
enum COMPILERKIND : std::int32_t {
    FREEBASICCOMPILER = 0,
    POWERBASICCOMPILER = 1,
};

struct AppSettingsRecord {
    std::string ExePath;
    std::string ExeDir;
    std::string IniPath;
    // PathSettings
    std::string Compiler;
    std::string IncludeDir;
    std::string TemplateDir;
    std::string ApiHelpFile;
    std::string BasicHelpFile;
    std::string PbResourceConverter;
    std::string ResourceEditor;
    std::string BasicKeywordFile;
    std::string ApiKeywordFile;
    // Windows
    WindowRect MainWndPos;
    WindowRect SearchWndPos;
    WindowRect GoToWndPos;
    std::uint32_t SyntaxColors[SYNTAXCOLORCOUNT] = {};
    std::string Font;
    std::int32_t FontSize = 9;
    std::int32_t AutoIndent = 1;
    // 1: the compiler's messages are shown under their lines (the markers
    // stay either way).
    std::int32_t ErrorText = 1;
    // The completion list opens by itself after the third letter of a word.
    std::int32_t AutoComplete = 0;
    std::string LastSearchKey;
    std::string LastReplaceKey;
    // OtherSettings
    COMPILERKIND CompilerType = FREEBASICCOMPILER;
    std::int32_t CompileTimeout = 10;
    // Filter lists of the file dialogs: description and pattern strings, each
    // ended by a zero byte, the list ended by one more.
    std::string OpenFilter;
    std::string SaveFilter;
};

extern AppSettingsRecord AppSettings;

// Longest path or file name the program keeps (a MAX_PATH buffer less its zero).
constexpr std::size_t MAXPATHCHARS = 259;
// Longest font face name kept.
constexpr std::size_t MAXFONTCHARS = 254;
