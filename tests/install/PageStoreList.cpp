// page_store_list STORE - prints each page of a page-store file as "caption TAB
// bound file", the caption in UTF-8 and the file as the file system's bytes, one page
// a line, for the shell tests that
// look at what a real run of the program kept.

#include <cstdio>

#include "app/FakePages.h"
#include "app/FileIo.h"
#include "app/PageStore.h"
#include "store/Cp932Codec.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: page_store_list STORE\n");
        return 2;
    }
    const zentabo::ReadFileResult file = zentabo::ReadWholeFile(argv[1]);
    if (!file.exists || !file.status) {
        std::fprintf(stderr, "page_store_list: cannot read %s\n", argv[1]);
        return 1;
    }
    zentabo::testing::FakeHost host;
    const zentabo::PageStoreReadResult r =
        zentabo::LoadPagesFromStream(host, file.data, argv[1], zentabo::FileTimeFunction());
    for (const auto& page : host.pages)
        std::printf("%s\t%s\n", zentabo::Cp932ToUtf8(page->caption).c_str(),
                    page->fileName.c_str());
    return r.complete ? 0 : 1;
}
