#pragma once

// The find bridge's view of an editor: the search operations of one TLumEdit.

#include "app/FindBridge.h"
#include "editor/LumEdit.h"

namespace zentabo {

class EditorSearchAdapter : public EditorSearch {
public:
    explicit EditorSearchAdapter(TLumEdit& edit) : edit_(edit) {}

    void SetFindText(const std::string& text) override { edit_.SetFindText(text); }
    void FindFirst() override { edit_.FindFirst(); }
    void FindNext() override { edit_.FindNext(); }
    void FindPrev() override { edit_.FindPrev(); }
    void FindReplace(const std::string& findText, const std::string& replaceText, bool fromTop,
                     bool confirm, bool wholeText) override {
        edit_.FindReplace(findText, replaceText, fromTop, confirm, wholeText);
    }

private:
    TLumEdit& edit_;
};

}  // namespace zentabo
