#include "tests/game/serial/ComPeer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::vector<ComPair> RigComPairs() {
    std::vector<ComPair> pairs;
    const char* text = std::getenv("WL_COM_PAIRS");
    while (text && *text) {
        ComPair p{};
        int used = 0;
        if (std::sscanf(text, "%d:%d%n", &p.device, &p.peer, &used) != 2) break;
        pairs.push_back(p);
        text += used;
        if (*text == ',') ++text;
    }
    return pairs;
}

bool RigComControl(const char* verb, int comNumber) {
    const char* dir = std::getenv("WL_COM_RIG");
    if (!dir) return false;
    const std::string base = std::string("Z:") + dir;
    FILE* control = std::fopen((base + "/control").c_str(), "a+");
    if (!control) return false;
    // Requests are numbered by their line; the rig answers request n with the file done.<n>.
    int lines = 0;
    for (int c; (c = std::fgetc(control)) != EOF;)
        if (c == '\n') ++lines;
    std::fprintf(control, "%s %d\n", verb, comNumber);
    std::fclose(control);
    const std::string done = base + "/done." + std::to_string(lines + 1);
    // Bounded generously: the rig ends or starts socat, which a busy machine may hold up for seconds.
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > 40000) return false;
        Sleep(10);
    }
    return true;
}

ComPeer::ComPeer(int comNumber) {
    char name[24];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", comNumber);
    m_handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) return;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(m_handle, &dcb);
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = 0;
    SetCommState(m_handle, &dcb);
    PurgeComm(m_handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

ComPeer::~ComPeer() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

bool ComPeer::Write(const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ComPeer::Read(size_t count, DWORD timeoutMs) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = timeoutMs;
    SetCommTimeouts(m_handle, &timeouts);
    std::string out(count, '\0');
    DWORD got = 0;
    if (!ReadFile(m_handle, out.data(), static_cast<DWORD>(count), &got, nullptr)) got = 0;
    out.resize(got);
    return out;
}
