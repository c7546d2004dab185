// The programming interface of ZESCIN.DLL, the editing component that comes
// with Quillet: Scintilla with the PowerBASIC lexer behind the older
// lexer-by-number interface.
#pragma once
#include <windows.h>
#include <cstdint>

#ifndef SCI_SETLEXER
#define SCI_SETLEXER 4001
#endif
#ifndef SCLEX_POWERBASIC
#define SCLEX_POWERBASIC 51
#endif

// Tests only: from now on the component's own allocations (Scintilla's
// buffers, undo history, line index: everything it allocates) may hold
// wParam bytes more than now; an allocation beyond fails with bad_alloc, as
// when the address space is used up (what is freed comes back). 0 lifts the
// budget. An edit that fails so changes nothing and sets SC_STATUS_BADALLOC.
#define ZESCIN_SETALLOCATIONBUDGET 9903

// The first line at or after wParam that is a fold header, or -1: the fold
// levels read from the document itself, much faster than a
// SCI_GETFOLDLEVEL for every line.
#define ZESCIN_FOLDHEADERNEXT 9902

#ifdef ZESCIN_BUILDING
#define ZESCIN_API __declspec(dllexport)
#else
#define ZESCIN_API __declspec(dllimport)
#endif

extern "C" ZESCIN_API intptr_t __stdcall Scintilla_DirectFunction(void *editor, UINT message, uintptr_t wParam, intptr_t lParam);
