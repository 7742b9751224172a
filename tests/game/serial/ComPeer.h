// The far end of a COM port under test: the other pty of the pair that com_rig.py joins,
// driven with plain blocking Win32 calls so that the driver under test is never its own peer.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct ComPair {
    int device;  // COM number the driver opens
    int peer;    // COM number of the far end
};

// The pairs com_rig.py set up (WL_COM_PAIRS), in the order given to the rig.
std::vector<ComPair> RigComPairs();

// Ends ("down") or restarts ("up") the socat of the pair holding a COM number; waits until done.
bool RigComControl(const char* verb, int comNumber);

class ComPeer {
public:
    explicit ComPeer(int comNumber);
    ~ComPeer();
    ComPeer(const ComPeer&) = delete;
    ComPeer& operator=(const ComPeer&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Write(const std::string& bytes);
    // Reads until count bytes came or the time is up.
    std::string Read(size_t count, DWORD timeoutMs);

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
