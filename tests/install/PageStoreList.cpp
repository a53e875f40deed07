// page_store_list [--text] STORE - prints each page of a page-store file as "caption
// TAB bound file", the caption in UTF-8 and the file as the file system's bytes, one
// page a line, for the shell tests that look at what a real run of the program kept.
// With --text the second field is the page's text instead (code page 932 bytes, with
// backslash, CR and LF written as \\, \r and \n so a page stays on one line).
// Exit 1 when the store cannot be read or reads only in part.
// page_store_list --seed STORE MB writes a store of one page of MB megabytes of lines,
// so that every snapshot of a run started on it takes long enough to be interrupted.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/FakePages.h"
#include "app/FileIo.h"
#include "app/PageStore.h"
#include "store/Cp932Codec.h"

namespace {

std::string OneLine(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

}  // namespace

int Seed(const char* path, const char* megabytes) {
    const long mb = std::strtol(megabytes, nullptr, 10);
    if (mb <= 0 || mb > 1024) return 2;
    std::string text;
    const std::string line = std::string(70, 'b') + "\r\n";
    while (text.size() < static_cast<std::size_t>(mb) << 20) text += line;
    zentabo::testing::FakeHost host;
    host.Add("ballast", "", true, std::move(text));
    return zentabo::SavePageStore(host, path) ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--seed") == 0) return Seed(argv[2], argv[3]);
    const bool text = argc == 3 && std::strcmp(argv[1], "--text") == 0;
    if (argc != 2 && !text) {
        std::fprintf(stderr, "usage: page_store_list [--text] STORE | --seed STORE MB\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const zentabo::ReadFileResult file = zentabo::ReadWholeFile(path);
    if (!file.exists || !file.status) {
        std::fprintf(stderr, "page_store_list: cannot read %s\n", path);
        return 1;
    }
    zentabo::testing::FakeHost host;
    const zentabo::PageStoreReadResult r =
        zentabo::LoadPagesFromStream(host, file.data, path, zentabo::FileTimeFunction());
    for (const auto& page : host.pages)
        std::printf("%s\t%s\n", zentabo::Cp932ToUtf8(page->caption).c_str(),
                    text ? OneLine(page->text).c_str() : page->fileName.c_str());
    return r.complete ? 0 : 1;
}
