// CWertlaufView: remote-control glue. The frame reader and the port handling are in RemoteControl. The reader
// thread gets no view: it starts and stops the players in the state shared with the threads (which it owns
// jointly with the view, since the view waits for it only up to a bound), and posts the control keys' commands
// to the view's window while there is one. Also the COM-port prompt.
#include "game/WertlaufView.h"

#include "game/GameSounds.h"
#include "game/RemoteControl.h"
#include "ui/dialogs/InputDialogs.h"

#include <memory>

namespace {

// The players' stop sounds go to the process's one-shot slots.
class SlotSounds : public game::GameEvents {
public:
    void QueueSound(game::GameSound sound) override { game::QueueGameSound(sound); }
};

// What the remote's keys do: players directly (on the reader's thread), commands through the view's queue.
class SharedRemoteActions : public game::RemoteActions {
public:
    explicit SharedRemoteActions(game::ThreadShared& shared) : m_shared(shared) {}
    void StartPlayer(int player, uint32_t tick) override { game::StartPlayer(m_shared, player, tick); }
    void StopPlayer(int player, uint32_t tick) override { game::StopPlayer(m_shared, player, tick, &m_sounds); }
    void PostCommand(int commandId) override {
        if (HWND window = m_shared.commandWindow.load()) ::PostMessageA(window, WM_COMMAND, commandId, 0);
    }
    bool SingleMode() override { return m_shared.singleMode != 0; }

private:
    game::ThreadShared& m_shared;
    SlotSounds m_sounds;
};

DWORD WINAPI ReaderThread(LPVOID param) {
    const std::unique_ptr<std::shared_ptr<game::ThreadShared>> share(static_cast<std::shared_ptr<game::ThreadShared>*>(param));
    game::ThreadShared& shared = **share;
    SharedRemoteActions actions(shared);
    const game::RemoteControlContext context{&actions, &shared.comPort, &shared.clockOffset, &shared.readerStopRequest,
                                             &shared.readerEnded, nullptr};
    return game::RunRemoteControl(context);
}

}  // namespace

bool CWertlaufView::StartRemoteReader() {
    m_state.shared.readerStopRequest = 0;
    m_state.shared.commandWindow = m_hWnd;
    auto* share = new std::shared_ptr<game::ThreadShared>(m_state.ShareWithThread());
    if (game::StartRemoteControl(m_state.shared.readerEnded, ReaderThread, share)) return true;
    delete share;
    return false;
}

void CWertlaufView::StopRemoteReader() {
    game::StopRemoteControl(m_state.shared.readerStopRequest, m_state.shared.readerEnded);
}

void CWertlaufView::OnSelectComPort() {
    char text[16];
    game::ComPortText(m_state.shared.comPort, text);
    CTextInputDlg dialog(nullptr, 0);
    dialog.SetText(text);
    dialog.SetCaption("COM-Port");
    dialog.SetPrompt("Bitte hier das COM-Port angeben :");
    if (dialog.DoModal() != IDOK) return;
    char answer[33];  // at most 32 characters count
    dialog.GetText(answer, sizeof answer);
    m_state.shared.comPort = game::ComPortFromText(answer);  // the reader reopens on its next pass
}
