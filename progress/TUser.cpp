#include "progress/TUser.h"

void TUser::Save(TStream& stream, bool current) const {
    WriteString(stream, name);
    stream.WriteByte(current ? CURRENT_USER : 0);
    if (!GameData) {
        stream.WriteByte(0);
        return;
    }
    stream.WriteByte(GAME_DATA_START);
    GameData->Save(stream);
}

bool TUser::Load(TStream& stream, bool& current) {
    int currentMarker = 0, dataMarker = 0;
    if (!ReadString(stream, name) || !ReadByte(stream, currentMarker) || !ReadByte(stream, dataMarker)) return false;
    current = currentMarker == CURRENT_USER;
    if (dataMarker != GAME_DATA_START) return true;
    GameData = std::make_shared<TGameData>();
    return GameData->Load(stream);
}
