#include "build/childprocess.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/process.h"

namespace {

std::vector<char> WRITABLE(const std::string &text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return buffer;
}

// The compiler looked at the exit code every 200 ms and never gave up before
// the first look: a time-out of 0 still means that long.
constexpr DWORD SHORTESTWAITMS = 200;
// How long one wait for the process lasts while the pipe is empty.
constexpr DWORD IDLESLICEMS = 1;
// After the process has ended, what it printed is already in the pipe; a
// program it started that goes on printing is not followed longer than this.
constexpr DWORD FINALDRAINMS = 50;

}  // namespace

bool ChildProcess::STARTCAPTURED(const std::string &application, const std::string &commandLine) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.bInheritHandle = TRUE;
    if (CreatePipe(ReadEnd.RECEIVE(), WriteEnd.RECEIVE(), &security, 0)) {
        // Only the write end goes to the child: a child holding the read end
        // too would keep the pipe alive after everyone else let go of it.
        SetHandleInformation(ReadEnd.GET(), HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USECOUNTCHARS | STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.dwXCountChars = 80;
    startup.dwYCountChars = 25;
    startup.hStdInput = nullptr;
    startup.hStdOutput = WriteEnd.GET();
    startup.hStdError = WriteEnd.GET();
    std::vector<char> line = WRITABLE(commandLine);
    PROCESS_INFORMATION started{};
    const bool ok = STARTPROCESS([&] {
        return CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, TRUE, HIGH_PRIORITY_CLASS, nullptr,
                              nullptr, &startup, &started) != FALSE;
    });
    // The child has its own copy now; with ours gone, the pipe reports its end
    // as soon as the child and whatever it started have closed theirs.
    WriteEnd.RESET();
    if (!ok) {
        ReadEnd.RESET();
        return false;
    }
    Process.RESET(started.hProcess);
    Thread.RESET(started.hThread);
    return true;
}

bool ChildProcess::STARTPLAIN(const std::string &commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line = WRITABLE(commandLine);
    PROCESS_INFORMATION started{};
    if (!STARTPROCESS([&] {
            return CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, HIGH_PRIORITY_CLASS, nullptr, nullptr,
                                  &startup, &started) != FALSE;
        }))
        return false;
    Process.RESET(started.hProcess);
    Thread.RESET(started.hThread);
    return true;
}

bool ChildProcess::DRAIN(std::size_t keepBytes) {
    if (!ReadEnd.OK())
        return false;
    bool any = false;
    char chunk[16384];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(ReadEnd.GET(), nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return any;
        DWORD got = 0;
        const DWORD wanted = std::min<DWORD>(available, sizeof chunk);
        if (!ReadFile(ReadEnd.GET(), chunk, wanted, &got, nullptr) || got == 0)
            return any;
        any = true;
        BytesRead += got;
        if (Output.size() < keepBytes)
            Output.append(chunk, std::min<std::size_t>(got, keepBytes - Output.size()));
    }
}

DWORD ChildProcess::WAIT(DWORD timeoutMs, std::size_t keepBytes) {
    if (!Process.OK())
        return STILL_ACTIVE;
    const DWORD start = timeGetTime();
    const DWORD limit = std::max(timeoutMs, SHORTESTWAITMS);
    for (;;) {
        const bool printed = DRAIN(keepBytes);
        const DWORD elapsed = timeGetTime() - start;
        if (elapsed >= limit)
            break;
        // While output keeps coming, only look whether the process has ended;
        // otherwise wait for its end a moment before looking at the pipe again.
        const DWORD slice = printed ? 0 : std::min(IDLESLICEMS, limit - elapsed);
        if (WaitForSingleObject(Process.GET(), slice) == WAIT_OBJECT_0) {
            const DWORD ended = timeGetTime();
            while (DRAIN(keepBytes) && timeGetTime() - ended < FINALDRAINMS) {
            }
            break;
        }
    }
    DWORD code = STILL_ACTIVE;
    if (!GetExitCodeProcess(Process.GET(), &code))
        code = STILL_ACTIVE;
    return code;
}
