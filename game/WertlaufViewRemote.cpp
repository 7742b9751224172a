// CWertlaufView: remote-control glue. The frame reader and the port handling are in RemoteControl; the
// view lends it its start and stop operations, its window for the control keys' commands, and the
// remote's fields in the state it shares with the threads. Also the COM-port prompt.
#include "game/WertlaufView.h"

#include "game/RemoteControl.h"
#include "ui/dialogs/InputDialogs.h"

namespace {

// What the remote's keys do to this view: players directly (on the reader's thread), commands
// through the view's message queue.
class ViewRemoteActions : public game::RemoteActions {
public:
    explicit ViewRemoteActions(CWertlaufView& view) : view_(view) {}
    void StartPlayer(int player, uint32_t tick) override { view_.StartPlayer(player, tick); }
    void StopPlayer(int player, uint32_t tick) override { view_.StopPlayer(player, tick); }
    void PostCommand(int commandId) override { ::PostMessageA(view_.m_hWnd, WM_COMMAND, commandId, 0); }
    bool SingleMode() override { return view_.State().shared.singleMode != 0; }

private:
    CWertlaufView& view_;
};

}  // namespace

bool CWertlaufView::StartRemoteReader() {
    m_state.shared.readerStopRequest = 0;
    return game::StartRemoteControl(m_state.shared.readerEnded, RemoteControlThread, this);
}

void CWertlaufView::StopRemoteReader() {
    game::StopRemoteControl(m_state.shared.readerStopRequest, m_state.shared.readerEnded);
}

DWORD WINAPI CWertlaufView::RemoteControlThread(LPVOID param) {
    auto* view = static_cast<CWertlaufView*>(param);
    game::ThreadShared& shared = view->m_state.shared;
    ViewRemoteActions actions(*view);
    const game::RemoteControlContext context{&actions, &shared.comPort, &shared.clockOffset, &shared.readerStopRequest,
                                             &shared.readerEnded, nullptr};
    return game::RunRemoteControl(context);
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
