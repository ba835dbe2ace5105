// totem-save-crash: kills the game's profile saving at random moments and
// checks that "User.dat" always survives whole.
//
//   totem-save-crash FOLDER [TRIALS] [SEED]
//
// Each trial forks a child that saves two different sets of profiles in turn,
// as fast as it can, into FOLDER/User.dat; the parent kills it with SIGKILL
// after its first save and a random wait of up to three save times more, then
// reads the file the way the game does at start-up. It must load without a
// notice and be exactly one of the two sets. TRIALS defaults to 1000. The last line reports the
// trials, the saves the children completed, the time taken and the failures;
// the exit status is 1 when any trial failed (2 for a usage error).

#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "media/TStream.h"
#include "progress/ProgressGlobals.h"
#include "progress/ProgressNotice.h"
#include "progress/UserFile.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Version {
    std::vector<UserPtr> users;
    UserPtr current;
};

// Two sets of different sizes, so a file cut short or mixed from both shows.
Version SmallVersion() {
    Version v;
    auto ann = std::make_shared<TUser>();
    ann->name = "Ann";
    ann->GameData->CurrentLevel = 2;
    ann->GameData->SetHiScore(1, 1500);
    v.users = {ann};
    v.current = ann;
    return v;
}

Version LargeVersion() {
    Version v;
    for (int i = 0; i < 5; ++i) {
        auto user = std::make_shared<TUser>();
        user->name = "Player \xC3\xAB" + std::to_string(i);
        user->GameData->CurrentLevel = 29;
        for (int level = 1; level <= 28; ++level) {
            user->GameData->SetHiScore(level, 1000 * level + i);
            user->GameData->SetLevelStars(level, level % 4);
        }
        for (int p = 0; p < 18; ++p) user->GameData->Prizes.push_back("TPRIZE_" + std::to_string(p));
        v.users.push_back(user);
    }
    v.current = v.users[3];
    return v;
}

std::vector<uint8_t> Encode(const Version& v) {
    StreamPtr memory = OpenMemoryWrite();
    WriteUserList(*memory, v.users, v.current);
    return MemoryBytes(*memory);
}

void Use(const Version& v) {
    UserList = v.users;
    CurrentUser = v.current;
}

// The child's whole life: save, save, save, until killed.
[[noreturn]] void SaveForever(const Version& a, const Version& b, bool startWithA, std::atomic<long>* saves) {
    for (bool first = startWithA;; first = !first) {
        Use(first ? a : b);
        if (!SaveUserList()) _exit(3);
        saves->fetch_add(1, std::memory_order_relaxed);
    }
}

// Microseconds one save takes here, from a few timed saves.
double SaveMicros(const Version& v) {
    Use(v);
    constexpr int kRuns = 20;
    const auto start = Clock::now();
    for (int i = 0; i < kRuns; ++i) SaveUserList();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kRuns;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: totem-save-crash FOLDER [TRIALS] [SEED]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long trials = argc > 2 ? std::atol(argv[2]) : 1000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atol(argv[3])) : std::random_device{}();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    UserFilePath = (folder / "User.dat").string();
    std::vector<std::string> notices;
    SetProgressNoticeSink([&](const std::string& text) { notices.push_back(text); });

    const Version a = SmallVersion(), b = LargeVersion();
    const std::vector<uint8_t> bytesA = Encode(a), bytesB = Encode(b);
    const double saveUs = SaveMicros(b);
    Use(a);
    if (!SaveUserList()) {
        std::fprintf(stderr, "%s: cannot save at all\n", UserFilePath.c_str());
        return 1;
    }

    auto* saves = static_cast<std::atomic<long>*>(
        mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (saves == MAP_FAILED) return 1;
    new (saves) std::atomic<long>(0);
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> wait(0, static_cast<long>(saveUs * 3) + 1);

    long failures = 0, asA = 0, asB = 0;
    const auto start = Clock::now();
    for (long trial = 0; trial < trials; ++trial) {
        const pid_t child = fork();
        if (child < 0) {
            std::perror("fork");
            return 1;
        }
        const long savesBefore = saves->load();
        if (child == 0) SaveForever(a, b, trial % 2 == 1, saves);
        // The kill lands anywhere in the cycle once the child is saving, not
        // in its start-up.
        while (saves->load() == savesBefore) sched_yield();
        usleep(static_cast<useconds_t>(wait(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFSIGNALED(status)) {
            std::fprintf(stderr, "trial %ld: the child ended by itself (status %d)\n", trial, status);
            ++failures;
            continue;
        }
        LoadUserList();
        const std::vector<uint8_t> now = Encode({UserList, CurrentUser});
        if (!notices.empty() || (now != bytesA && now != bytesB)) {
            std::fprintf(stderr, "trial %ld: the file is neither version%s\n", trial,
                         notices.empty() ? "" : (": " + notices.back()).c_str());
            ++failures;
            notices.clear();
            ResetUserFileState();
            Use(a);
            SaveUserList();
            continue;
        }
        (now == bytesA ? asA : asB) += 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%ld trials (seed %u), %ld saves completed by the children, one save %.0f us, %.1f s; "
                "found the first set %ld times, the second %ld times; %ld failures\n",
                trials, seed, saves->load(), saveUs, seconds, asA, asB, failures);
    return failures == 0 ? 0 : 1;
}
