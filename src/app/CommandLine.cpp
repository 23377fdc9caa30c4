#include "CommandLine.h"

#include <string_view>

namespace vigilon::app {

namespace {

constexpr std::string_view kDataDir = "--data-dir";

CommandLine Refused(std::string error) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.error = std::move(error);
    return line;
}

CommandLine Answered(CommandLine::Action action) {
    CommandLine line;
    line.action = action;
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool folderGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") return Answered(CommandLine::Action::ShowHelp);
        if (arg == "-V" || arg == "--version") return Answered(CommandLine::Action::ShowVersion);

        std::string folder;
        if (arg == kDataDir) {
            if (i + 1 == args.size()) return Refused("option '--data-dir' needs a folder");
            folder = args[++i];
        } else if (arg.starts_with(std::string(kDataDir) + "=")) {
            folder = arg.substr(kDataDir.size() + 1);
        } else if (arg == "--user-data") {
            if (folderGiven) return Refused("only one of --data-dir and --user-data may be given, once");
            folderGiven = true;
            line.userData = true;
            continue;
        } else if (arg.starts_with("--help=") || arg.starts_with("--version=") ||
                   arg.starts_with("--user-data=")) {
            return Refused("option '" + arg.substr(0, arg.find('=')) + "' takes no value");
        } else if (arg.starts_with("-") && arg != "-") {
            return Refused("unknown option '" + arg + "'");
        } else {
            return Refused("unexpected argument '" + arg + "'");
        }

        if (folder.empty()) return Refused("option '--data-dir' needs a folder");
        if (folderGiven) return Refused("only one of --data-dir and --user-data may be given, once");
        folderGiven = true;
        line.dataDir = std::move(folder);
    }
    return line;
}

std::string UsageText() {
    return "Usage: vigilon [OPTION]...\n"
           "Watch whether one host stays reachable by ping, and send an e-mail alert\n"
           "when it stops answering and when it answers again.\n"
           "\n"
           "Vigilon keeps its settings (Vigilon.dat) and its log (Vigilon.log) in the\n"
           "current directory, or in the folder one of these options gives:\n"
           "      --data-dir=DIR  use DIR (made, with its missing parents, readable by\n"
           "                      you only, when it does not exist)\n"
           "      --user-data     use your own folder, $XDG_STATE_HOME/vigilon, or\n"
           "                      ~/.local/state/vigilon when XDG_STATE_HOME is not set\n"
           "                      (the application menu starts Vigilon this way)\n"
           "  -h, --help          show this help and exit\n"
           "  -V, --version       show the version and exit\n"
           "\n"
           "One Vigilon at a time may use a folder; it holds the lock file Vigilon.lock\n"
           "there while it runs.\n";
}

}  // namespace vigilon::app
