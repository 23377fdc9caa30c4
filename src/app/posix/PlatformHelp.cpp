#include "CommandLine.h"

namespace vigilon::app {

PlatformHelp ThisPlatformHelp() {
    return {" [--headless]",
            "      --user-data     use your own folder, $XDG_STATE_HOME/vigilon, or\n"
            "                      ~/.local/state/vigilon when XDG_STATE_HOME is not set\n"
            "                      (the application menu starts Vigilon this way)\n",
            "      --headless      monitor with no display: log lines also go to standard\n"
            "                      error; SIGTERM or SIGINT ends the run as Exit does,\n"
            "                      SIGHUP reads Vigilon.dat again\n",
            "      --metrics-listen=HOST:PORT  serve Prometheus metrics at /metrics\n"
            "                      (\":PORT\" listens on 127.0.0.1 only)\n"};
}

}  // namespace vigilon::app
