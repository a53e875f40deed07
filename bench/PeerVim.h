#pragma once

// Runs vim as the reference editor on a file: in Ex mode, no user settings, no swap or
// viminfo file, the text read as code page 932 bytes.

#include <string>
#include <vector>

namespace zentabo::bench {

struct PeerRun {
    bool ok = false;
    double ms = 0;
    double peakMb = 0;
};

// The vim executable on PATH, or empty when there is none.
std::string FindVim();
// The first line of `vim --version`.
std::string VimVersion(const std::string& vim);
// vim on file with the Ex commands in order; the wall time of the whole process.
PeerRun RunVim(const std::string& vim, const std::string& file,
               const std::vector<std::string>& commands);

}  // namespace zentabo::bench
