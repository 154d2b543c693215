// Runs a program as its debugger, so that its OutputDebugStringA texts arrive as events.
#include "debug_loop.h"

#include <stdio.h>

#include <vector>

static std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO &info) {
    std::string text(info.nDebugStringLength, '\0');
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, &text[0], text.size(), &got);
    text.resize(got);
    size_t end = text.find('\0');
    if (end != std::string::npos)
        text.resize(end);
    return text;
}

DWORD RunProgram(const std::string &commandLine, HANDLE output, DWORD limitMs) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output != NULL) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, output != NULL, 0, NULL, NULL, &startup,
                        &process))
        return ~0u;
    WaitForSingleObject(process.hProcess, limitMs);
    DWORD code = ~0u;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

bool RunUnderDebugger(const std::string &commandLine, const std::string &workingDir,
                      const DebugLoopHooks &hooks, DWORD *exitCode) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, DEBUG_ONLY_THIS_PROCESS, NULL,
                        workingDir.empty() ? NULL : workingDir.c_str(), &startup, &child))
        return false;

    bool loaderBreakpointSeen = false;
    for (;;) {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, 50)) {
            if (hooks.onIdle)
                hooks.onIdle(child.hProcess, child.dwProcessId);
            continue;
        }
        DWORD status = DBG_CONTINUE;
        bool exited = false;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            if (hooks.onDebugString)
                hooks.onDebugString(ReadDebugString(child.hProcess, event.u.DebugString));
            break;
        case EXCEPTION_DEBUG_EVENT:
            // The loader's first breakpoint goes on; anything else is the program's own to
            // handle, or to die of.
            if (event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT &&
                !loaderBreakpointSeen)
                loaderBreakpointSeen = true;
            else
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            *exitCode = event.u.ExitProcess.dwExitCode;
            exited = true;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (exited)
            break;
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return true;
}

void PrintDebugLines(std::string &pending, const std::string &text) {
    pending += text;
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
        printf("debug: %s\n", pending.substr(0, end).c_str());
        pending.erase(0, end + 1);
    }
    fflush(stdout);
}
