// The lobby's garage visit: the garage runs inside the lobby, serving the connection and drawing
// the status panel every frame, and the build saved there becomes the own robot.
#include "lobby_flow.h"

#include "garage.h"
#include "garage_lobby.h"
#include "robot_presets.h"

#include <memory>

namespace {

constexpr int kStatSheetY = 290;  // the stat sheet moves down, clear of the lobby's panel

// The lobby has no virtual operations of its own; the garage reaches it through this.
class CLobbyInGarage final : public CGarageLobby {
public:
    explicit CLobbyInGarage(CLobby* lobby) : m_lobby(lobby) {}
    void UpdateNet() override { m_lobby->UpdateNet(); }
    void DrawStatus() override { m_lobby->DrawStatus(); }

private:
    CLobby* m_lobby;
};

}  // namespace

// A build never saved (or saved as no known robot) leaves the own robot as it was.
void CLobby::EnterGarage() {
    CLobbyInGarage lobby(this);
    auto garage = std::make_unique<CGarage>();
    garage->m_lobby = &lobby;
    garage->m_statSheet.m_y = kStatSheetY;
    garage->Run();
    TakeOwnRobotCode(GetRobotConfigCode(kLoadItem));
    QueueOwnStatus();
}
