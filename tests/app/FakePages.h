#pragma once

// Pages without widgets for the page-store tests: plain fields, and a map of file
// contents that stands in for the editor's load-file operation.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/PageStore.h"

namespace zentabo::testing {

struct FakePage : PageStorePage {
    std::string caption, fileName, text;
    bool saveMode = true;
    std::vector<std::string> loadedFiles;
    const std::map<std::string, std::string>* files = nullptr;

    std::string Caption() const override { return caption; }
    std::string FileName() const override { return fileName; }
    bool SaveMode() const override { return saveMode; }
    std::string Text() const override { return text; }
    void SetCaption(const std::string& c) override { caption = c; }
    void SetFileName(const std::string& f) override { fileName = f; }
    void SetSaveMode(bool s) override { saveMode = s; }
    void SetText(std::string t) override { text = std::move(t); }
    void LoadFile(const std::string& path) override {
        loadedFiles.push_back(path);
        if (files && files->count(path)) text = files->at(path);
    }
};

struct FakeHost : PageStoreHost {
    std::vector<std::unique_ptr<FakePage>> pages;
    std::map<std::string, std::string> files;

    int PageCount() const override { return static_cast<int>(pages.size()); }
    PageStorePage& Page(int index) override { return *pages.at(static_cast<std::size_t>(index)); }
    PageStorePage& CreatePage() override { return Add("", "", true, ""); }

    FakePage& Add(std::string caption, std::string fileName, bool saveMode, std::string text) {
        auto page = std::make_unique<FakePage>();
        page->caption = std::move(caption);
        page->fileName = std::move(fileName);
        page->saveMode = saveMode;
        page->text = std::move(text);
        page->files = &files;
        pages.push_back(std::move(page));
        return *pages.back();
    }
    FakePage& At(int i) { return *pages.at(static_cast<std::size_t>(i)); }
};

}  // namespace zentabo::testing
