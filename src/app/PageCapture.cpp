#include "app/PageCapture.h"

#include <stdexcept>

namespace zentabo {

StoreState StateOf(const CaptureSource& source) {
    StoreState state;
    const int count = source.PageCount();
    state.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        state.push_back(
            {source.TextGeneration(i), source.Caption(i), source.FileName(i), source.SaveMode(i)});
    }
    return state;
}

std::vector<PageImage> PageCapture::Take(const CaptureSource& source) {
    std::vector<PageImage> pages;
    decltype(texts_) kept;
    textsCopied_ = 0;
    const int count = source.PageCount();
    pages.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        PageImage page{source.TextGeneration(i), source.Caption(i), source.FileName(i),
                       source.SaveMode(i), nullptr};
        if (page.saveMode) {
            auto known = texts_.find(page.generation);
            if (known != texts_.end()) {
                page.text = known->second;
            } else {
                page.text = std::make_shared<const std::string>(source.Text(i));
                ++textsCopied_;
            }
            kept.emplace(page.generation, page.text);
        }
        pages.push_back(std::move(page));
    }
    texts_ = std::move(kept);
    return pages;
}

class PageImageHost::Record : public PageStorePage {
public:
    explicit Record(const PageImage& image) : image_(image) {}
    std::string Caption() const override { return image_.caption; }
    std::string FileName() const override { return image_.fileName; }
    bool SaveMode() const override { return image_.saveMode; }
    std::string Text() const override { return image_.text ? *image_.text : std::string(); }
    bool UseText(const std::function<bool(std::string_view)>& use) const override {
        return use(image_.text ? std::string_view(*image_.text) : std::string_view());
    }
    void SetCaption(const std::string&) override {}
    void SetFileName(const std::string&) override {}
    void SetSaveMode(bool) override {}
    void SetText(std::string, const TaskProgress&) override {}
    FileResult LoadFile(const std::string&) override { return {}; }
    void MarkModified() override {}

private:
    const PageImage& image_;
};

PageImageHost::PageImageHost(const std::vector<PageImage>& pages) {
    records_.reserve(pages.size());
    for (const PageImage& page : pages) records_.push_back(std::make_unique<Record>(page));
}

PageImageHost::~PageImageHost() = default;

int PageImageHost::PageCount() const {
    return static_cast<int>(records_.size());
}

PageStorePage& PageImageHost::Page(int index) {
    return *records_.at(static_cast<std::size_t>(index));
}

PageStorePage& PageImageHost::CreatePage() {
    throw std::logic_error("captured pages are not restored into");
}

}  // namespace zentabo
