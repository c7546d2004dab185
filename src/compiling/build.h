// Build and run: compiling the listing with the configured compiler and
// starting the built program.
#pragma once
#include <cstdint>
#include <string>

// runAfter 1 starts the built program after a clean compilation. Status 0 when
// no error position was found, 1 when a check failed or the compiler did not
// start (a message was shown), 2 when the caret was moved to an error (or, for
// PowerBASIC, the log was missing), 3 when the compiler did not finish within
// the time-out and was ended, 4 when it was cancelled.
std::int32_t COMPILEFREEBASIC(std::int32_t runAfter);
std::int32_t COMPILEPOWERBASIC(std::int32_t runAfter);

// The #COMPILE line among the listing's first 100 lines: 0 none, 1 a library,
// 2 anything else; name receives the file name it gives in double quotes.
std::int32_t FINDCOMPILEDIRECTIVE(std::string &name);

// While a compiler runs the window goes on answering; commands and edits are
// refused, only cancelling and closing are taken.
bool COMPILERRUNNING();
// Ends the running compiler (Escape, a second Compile); quietly, as when the
// window closes, without the message that says so.
void CANCELCOMPILE(bool quietly);
