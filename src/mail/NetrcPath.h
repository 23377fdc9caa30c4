#pragma once

#include <string>

namespace vigilon {

// Where the user's netrc file is, for the logins of URL servers: ~/.netrc
// ($HOME first, as every mail tool reads it, then the password database);
// on Windows %USERPROFILE%\_netrc, as curl's own tool looks for it. Empty
// when there is no home to look in.
std::string NetrcPath();

}  // namespace vigilon
