#pragma once

// Pages without widgets for the page-store tests: plain fields, and the real file
// system for the editor's load-file operation (the file's bytes become the text).

#include <memory>
#include <string>
#include <vector>

#include "app/FileIo.h"
#include "app/PageStore.h"

namespace zentabo::testing {

struct FakePage : PageStorePage {
    std::string caption, fileName, text;
    bool saveMode = true;
    bool modified = false;
    std::vector<std::string> loadedFiles;

    std::string Caption() const override { return caption; }
    std::string FileName() const override { return fileName; }
    bool SaveMode() const override { return saveMode; }
    std::string Text() const override { return text; }
    void SetCaption(const std::string& c) override { caption = c; }
    void SetFileName(const std::string& f) override { fileName = f; }
    void SetSaveMode(bool s) override { saveMode = s; }
    void SetText(std::string t, const TaskProgress&) override { text = std::move(t); }
    FileResult LoadFile(const std::string& path) override {
        loadedFiles.push_back(path);
        ReadFileResult file = ReadWholeFile(path);
        if (!file.exists) return FileResult::Failure("no " + path, "gone");
        if (!file.status) return file.status;
        text = std::move(file.data);
        modified = false;
        return {};
    }
    void MarkModified() override { modified = true; }
};

struct FakeHost : PageStoreHost {
    std::vector<std::unique_ptr<FakePage>> pages;
    bool reloadAnswer = false;
    std::vector<std::string> questions;  // the paths asked about

    int PageCount() const override { return static_cast<int>(pages.size()); }
    PageStorePage& Page(int index) override { return *pages.at(static_cast<std::size_t>(index)); }
    PageStorePage& CreatePage() override { return Add("", "", true, ""); }
    bool AskReloadChangedFile(PageStorePage&, const std::string& path) override {
        questions.push_back(path);
        return reloadAnswer;
    }

    FakePage& Add(std::string caption, std::string fileName, bool saveMode, std::string text) {
        auto page = std::make_unique<FakePage>();
        page->caption = std::move(caption);
        page->fileName = std::move(fileName);
        page->saveMode = saveMode;
        page->text = std::move(text);
        pages.push_back(std::move(page));
        return *pages.back();
    }
    FakePage& At(int i) { return *pages.at(static_cast<std::size_t>(i)); }
};

}  // namespace zentabo::testing
