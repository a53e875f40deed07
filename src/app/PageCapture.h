#pragma once

// Taking the pages for a background write of the page store. The user-interface
// thread only copies what changed: a page whose text generation did not move since
// the last capture shares the text taken then, so 100 unchanged pages cost a few
// small strings each, never their text.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/PageStore.h"

namespace zentabo {

// The pages as a capture reads them (the main window's tabs).
class CaptureSource {
public:
    virtual ~CaptureSource() = default;
    virtual int PageCount() const = 0;
    // Changes with every change of the page's text and is never shared by two pages.
    virtual std::uint64_t TextGeneration(int index) const = 0;
    virtual std::string Caption(int index) const = 0;
    virtual std::string FileName(int index) const = 0;
    virtual bool SaveMode(int index) const = 0;
    // Asked only for a page with save mode on whose generation moved.
    virtual std::string Text(int index) const = 0;
};

// One page, frozen: safe to hand to another thread.
struct PageImage {
    std::uint64_t generation = 0;
    std::string caption;   // code page 932
    std::string fileName;  // the file system's bytes
    bool saveMode = true;
    std::shared_ptr<const std::string> text;  // null while the save mode is off
};

// Everything a page record holds, without the text: cheap to compare.
struct PageState {
    std::uint64_t generation = 0;
    std::string caption;
    std::string fileName;
    bool saveMode = true;
    bool operator==(const PageState&) const = default;
};
using StoreState = std::vector<PageState>;

StoreState StateOf(const CaptureSource& source);

class PageCapture {
public:
    std::vector<PageImage> Take(const CaptureSource& source);
    // Texts copied by the last Take (for tests and the bench).
    int TextsCopied() const { return textsCopied_; }

private:
    // The texts of the last capture by generation; older ones are dropped.
    std::unordered_map<std::uint64_t, std::shared_ptr<const std::string>> texts_;
    int textsCopied_ = 0;
};

// The captured pages as the page-store writer reads them.
class PageImageHost : public PageStoreHost {
public:
    explicit PageImageHost(const std::vector<PageImage>& pages);
    ~PageImageHost() override;
    int PageCount() const override;
    PageStorePage& Page(int index) override;
    // Captured pages are only written, never restored into.
    PageStorePage& CreatePage() override;
    bool AskReloadChangedFile(PageStorePage&, const std::string&) override { return false; }

private:
    class Record;
    std::vector<std::unique_ptr<Record>> records_;
};

}  // namespace zentabo
