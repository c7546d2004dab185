// A compiler run as a child process: its process and thread handles and both
// ends of the pipe its output goes into, owned together and closed on every
// path.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "services/handles.h"

// A child process, started hidden with its standard output and error in a
// pipe (or without redirection), waited for up to a deadline while whatever
// it prints is drained, so that neither a full pipe nor a program it started
// itself that keeps the pipe open can hold the caller up.
class ChildProcess {
public:
    // Starts application with commandLine (the tail after the program's name),
    // hidden, high priority, output and errors into the pipe, working in
    // folder. False when the process could not be created.
    bool STARTCAPTURED(const std::string &application, const std::string &commandLine, const std::string &folder);
    // Starts application with commandLine (the whole line), inheriting
    // handles, with no redirection and no window options, working in folder.
    bool STARTPLAIN(const std::string &application, const std::string &commandLine, const std::string &folder);
    // Ends the process and every process it started (the assembler, the
    // linker), as after a time-out.
    void END();
    ~ChildProcess();

    // Waits until the process ends or timeoutMs have passed, reading the pipe
    // all along and keeping the first keepBytes of it. Returns the exit code,
    // STILL_ACTIVE for a process that is still running (it is left running).
    DWORD WAIT(DWORD timeoutMs, std::size_t keepBytes);
    // The same, calling answer whenever the thread has messages waiting (the
    // window goes on answering); when answer returns false the wait ends at
    // once and STILL_ACTIVE is returned, the process left running.
    DWORD WAITANSWERING(DWORD timeoutMs, std::size_t keepBytes, const std::function<bool()> &answer);

    // What was kept of the output.
    const std::string &OUTPUT() const { return Output; }
    // All bytes read from the pipe.
    std::size_t BYTESREAD() const { return BytesRead; }

private:
    // Reads what the pipe holds now, without blocking. False when the pipe
    // held nothing (or is closed).
    bool DRAIN(std::size_t keepBytes);
    // Creates the process suspended, puts it into a job of its own (so that
    // the programs it starts can be ended with it) and lets it run.
    bool CREATEINJOB(const std::string &application, std::wstring &line, const std::string &folder,
                     STARTUPINFOW &startup);

    KernelHandle Job;
    KernelHandle Process;
    KernelHandle Thread;
    KernelHandle ReadEnd;
    KernelHandle WriteEnd;
    std::string Output;
    std::size_t BytesRead = 0;
};
