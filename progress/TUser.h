#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "progress/TGameData.h"

class TUser;
using UserPtr = std::shared_ptr<TUser>;

// One player profile: a name and its progress. It saves and reads its record
// of "User.dat": the name, whether it is the current profile, and its
// progress block behind a marker byte.
class TUser : public TStdIO {
    TOTEM_CLASS(TUser)

    // The two marker bytes of a record.
    static constexpr int CURRENT_USER = 1;
    static constexpr int GAME_DATA_START = 2;

    std::string name;  // as typed (UTF-8)
    int32_t id = 0;    // given at creation; not saved
    GameDataPtr GameData = std::make_shared<TGameData>();

    // `current`: this is the profile playing.
    void Save(TStream& stream, bool current) const;
    // Reads a record over this profile. `current` tells whether its current
    // marker was set. A progress marker other than GAME_DATA_START leaves the
    // progress as constructed and reads no block. False when the record is
    // damaged; the profile should then be thrown away.
    bool Load(TStream& stream, bool& current);
};
