#include "app/OpenableFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace zentabo {

FileResult CheckOpenableFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        return FileResult::Failure("cannot open " + path + ": " + std::strerror(err),
                                   std::strerror(err));
    }
    if (S_ISDIR(st.st_mode))
        return FileResult::Failure(path + " is a folder", std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        return FileResult::Failure(path + " is not a regular file", "通常のファイルではありません");
    return {};
}

}  // namespace zentabo
