#pragma once
// Command line of zr740sim.
#include <optional>
#include <span>
#include <string>

#include "sim/VirtualRadio.h"

struct SimOptions {
    RadioSetup setup;
    RadioFaults faults;
    FleetSwitches fleet;
    std::string load;              // *.VNTX to start from
    std::string saveOnClose;       // *.VNTX written after every closed write session and at exit
    std::string linkDir;           // with com: DIR/COMn -> the pseudo-terminal
    int com = 0;
    std::optional<std::string> password;         // programming password (8 characters)
    std::optional<std::string> servicePassword;  // radio password of the service family
    bool verbose = false;
    bool instant = false;          // no 38400-baud pacing: replies are written at once
    bool exitAfterWrite = false;   // stop after the first closed write session
    bool help = false;
};

// Parses the arguments (without the program name). nullopt with `error` set when they are wrong.
std::optional<SimOptions> ParseSimOptions(std::span<const std::string> args, std::string& error);
std::string SimUsage();
