#include "compiling/childprocess.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/process.h"
#include "services/wintext.h"

namespace {

std::wstring WRITABLE(const std::string &text) {
    std::wstring line = WIDE(text);
    line.push_back(L'\0');
    return line;
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

bool ChildProcess::STARTCAPTURED(const std::string &application, const std::string &commandLine,
                                 const std::string &folder) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.bInheritHandle = TRUE;
    if (CreatePipe(ReadEnd.RECEIVE(), WriteEnd.RECEIVE(), &security, 0)) {
        // Only the write end goes to the child: a child holding the read end
        // too would keep the pipe alive after everyone else let go of it.
        SetHandleInformation(ReadEnd.GET(), HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USECOUNTCHARS | STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.dwXCountChars = 80;
    startup.dwYCountChars = 25;
    startup.hStdInput = nullptr;
    startup.hStdOutput = WriteEnd.GET();
    startup.hStdError = WriteEnd.GET();
    std::wstring line = WRITABLE(commandLine);
    const bool ok = CREATEINJOB(application, line, folder, startup);
    // The child has its own copy now; with ours gone, the pipe reports its end
    // as soon as the child and whatever it started have closed theirs.
    WriteEnd.RESET();
    if (!ok)
        ReadEnd.RESET();
    return ok;
}

bool ChildProcess::STARTPLAIN(const std::string &application, const std::string &commandLine,
                              const std::string &folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = WRITABLE(commandLine);
    return CREATEINJOB(application, line, folder, startup);
}

bool ChildProcess::CREATEINJOB(const std::string &application, std::wstring &line, const std::string &folder,
                               STARTUPINFOW &startup) {
    // A job that ends everything in it when it is closed; where jobs cannot be
    // had (an editor started inside a job that forbids others), the compiler
    // runs without one and a time-out ends the compiler alone.
    Job.RESET(CreateJobObjectW(nullptr, nullptr));
    if (Job.OK()) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(Job.GET(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
            Job.RESET();
    }
    PROCESS_INFORMATION started{};
    const std::wstring program = WIDE(application);
    const std::wstring workIn = WIDE(folder);
    if (!STARTPROCESS([&] {
            return CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                                  HIGH_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr,
                                  folder.empty() ? nullptr : workIn.c_str(), &startup, &started) != FALSE;
        })) {
        Job.RESET();
        return false;
    }
    Process.RESET(started.hProcess);
    Thread.RESET(started.hThread);
    if (Job.OK() && !AssignProcessToJobObject(Job.GET(), Process.GET()))
        Job.RESET();
    ResumeThread(Thread.GET());
    return true;
}

void ChildProcess::END() {
    if (Job.OK())
        TerminateJobObject(Job.GET(), 1);
    if (Process.OK()) {
        TerminateProcess(Process.GET(), 1);
        WaitForSingleObject(Process.GET(), 5000);
    }
    Job.RESET();
}

ChildProcess::~ChildProcess() {
    // A compiler that ended normally may leave a program of its own running
    // (it is no business of the editor's): the job lets go of it without
    // ending it.
    if (Job.OK()) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        SetInformationJobObject(Job.GET(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
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
    return WAITANSWERING(timeoutMs, keepBytes, nullptr);
}

DWORD ChildProcess::WAITANSWERING(DWORD timeoutMs, std::size_t keepBytes, const std::function<bool()> &answer) {
    if (!Process.OK())
        return STILL_ACTIVE;
    const DWORD start = timeGetTime();
    const DWORD limit = std::max(timeoutMs, SHORTESTWAITMS);
    HANDLE process = Process.GET();
    for (;;) {
        const bool printed = DRAIN(keepBytes);
        const DWORD elapsed = timeGetTime() - start;
        if (elapsed >= limit)
            break;
        // While output keeps coming, only look whether the process has ended;
        // otherwise wait for its end (or a message) a moment before looking
        // at the pipe again.
        const DWORD slice = printed ? 0 : std::min(IDLESLICEMS, limit - elapsed);
        const DWORD woken = answer ? MsgWaitForMultipleObjectsEx(1, &process, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                                   : WaitForSingleObject(process, slice);
        if (woken == WAIT_OBJECT_0) {
            const DWORD ended = timeGetTime();
            while (DRAIN(keepBytes) && timeGetTime() - ended < FINALDRAINMS) {
            }
            break;
        }
        if (answer && woken == WAIT_OBJECT_0 + 1 && !answer())
            return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    if (!GetExitCodeProcess(Process.GET(), &code))
        code = STILL_ACTIVE;
    return code;
}
