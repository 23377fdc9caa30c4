# Sourced by the install and package tests: every file an installation
# holds under PREFIX (without the leading /), one a line, sorted; $2 is
# "yes" when the companion ping tool is built.
installed_files() {
    local prefix=$1 ravelin=$2 size
    {
        echo "$prefix/bin/vigilon"
        echo "$prefix/libexec/vigilon/vigilon-window"
        echo "$prefix/libexec/vigilon/vigilon-help.so"
        echo "$prefix/share/vigilon/vigilon.htb"
        echo "$prefix/lib/systemd/system/vigilon.service"
        echo "$prefix/lib/systemd/user/vigilon.service"
        echo "$prefix/share/applications/vigilon.desktop"
        echo "$prefix/share/metainfo/org.example.vigilon.metainfo.xml"
        echo "$prefix/share/icons/hicolor/scalable/apps/vigilon.svg"
        for size in 16 22 24 32 48 64 128 256; do
            echo "$prefix/share/icons/hicolor/${size}x${size}/apps/vigilon.png"
        done
        echo "$prefix/share/man/man1/vigilon.1.gz"
        echo "$prefix/share/doc/vigilon/README.md"
        echo "$prefix/share/doc/vigilon/copyright"
        echo "$prefix/share/doc/vigilon/changelog.gz"
        if [ "$ravelin" = yes ]; then
            echo "$prefix/bin/ravelin"
            echo "$prefix/share/applications/ravelin.desktop"
            echo "$prefix/share/man/man1/ravelin.1.gz"
            echo "$prefix/share/icons/hicolor/scalable/apps/ravelin.svg"
            for size in 16 22 24 32 48 64 128 256; do
                echo "$prefix/share/icons/hicolor/${size}x${size}/apps/ravelin.png"
            done
        fi
    } | LC_ALL=C sort
}

# The programs an installation holds, under its prefix: each pings, so
# each gets the raw-socket capability.
installed_programs() {
    echo bin/vigilon
    echo libexec/vigilon/vigilon-window
    if [ "$1" = yes ]; then echo bin/ravelin; fi
}

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Compares two texts, naming what is missing and what is extra.
same_lines() {
    local what=$1 expected=$2 actual=$3
    if [ "$expected" != "$actual" ]; then
        fail "$what differ (< expected, > found):"
        diff <(echo "$expected") <(echo "$actual") | grep '^[<>]'
    fi
}
