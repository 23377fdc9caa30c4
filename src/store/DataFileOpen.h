#pragma once

#include <sys/types.h>
#include <string>

#include "UniqueFd.h"

namespace vigilon {

// The rule for reaching a file of the data folder through a symbolic link.
// In a folder that others may write (mode 0777, not sticky) anyone can plant
// a link named like one of the program's files; followed blindly, it would
// have the program write, with its user's rights, into whatever the link
// names. So a link is followed only when it is owned by the user running the
// program or by root, and the file it leads to is that user's own (root's
// own files for root). Files that are not links are left to the kernel's
// permission checks.

struct DataFile {
    enum class State {
        Open,      // fd holds the regular file found at where
        Missing,   // nothing at where yet (and flags did not create it)
        Failed,    // the open failed with error
        NotAFile,  // a folder, FIFO, device or socket is at where; never opened for I/O
        Refused,   // a link, or the file it leads to, that the rule above turns away
    };
    State state = State::Failed;
    UniqueFd fd;
    // The path the file was found (or would be created) at: path itself, or
    // where its links end, each relative link taken against its own folder.
    std::string where;
    int error = 0;        // Failed and Missing: the errno
    mode_t type = 0;      // NotAFile: the S_IFMT bits of what is there
    std::string problem;  // all but Open: why, as "it is a FIFO, not a regular file"
};

// Opens the file at path with flags (O_RDONLY, O_WRONLY | O_CREAT, O_PATH
// to only find it...; never O_TRUNC, which would act before the checks) and
// mode, following links one at a time under the rule above. Every check is
// made on what was actually opened: each link's owner on a descriptor of
// the link itself, whose target is read from that same descriptor, and the
// final file's type and owner on the descriptor returned, which was opened
// with O_NOFOLLOW; so a link swapped in between a check and an open cannot
// redirect a write. Never blocks on a FIFO and never opens a device.
DataFile OpenDataFile(const std::string& path, int flags, mode_t mode = 0600);

// Only finds the file at path under the same rule, without opening it for
// reading or writing: where, and whether it is there, for a save that
// replaces or removes it by name.
DataFile FindDataFile(const std::string& path);

// Opens the regular file at path for reading, through any links, under the
// system's own checks alone (for a file whose content a planted plain file
// could give just as well). Never opens a FIFO or device.
DataFile OpenThroughLinks(const std::string& path);

// "a folder", "a FIFO", "a device", "a socket": what a NotAFile is, for messages.
std::string FileKindName(mode_t type);

}  // namespace vigilon
