// Seeds the simulated card into the Wine prefix's registry as an installed card leaves it, the
// same way the tests do, and keeps it there: its modem (a device, and a driver key attached to
// COM<n>) and its PC UI port. The demo runs it before the program.
//
//   cardseed <COM number>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "winedrive/RegistrySeed.h"

int main(int argc, char** argv) {
    const int com = argc == 2 ? std::atoi(argv[1]) : 0;
    if (com < 1 || com > 255) {
        std::fprintf(stderr, "usage: cardseed <COM number, 1 to 255>\n");
        return 2;
    }
    quorvel::winedrive::RegistrySeed seed;
    const std::string port = "COM" + std::to_string(com);
    if (seed.SeedModem("KELTRO Datalink - 3G Modem", com).empty() ||
        seed.SeedPortsDevice("KELTRO Datalink - 3G PC UI Interface (" + port + ")").empty()) {
        std::fprintf(stderr, "cardseed: the card could not be seeded into the registry\n");
        return 1;  // what was seeded goes with the seed
    }
    seed.Keep();
    return 0;
}
