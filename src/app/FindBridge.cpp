#include "app/FindBridge.h"

namespace zentabo {

void DoFind(const std::string& findText, TFindOptions options, std::string& pageFindText,
            EditorSearch& editor) {
    if (findText != pageFindText) {
        pageFindText = findText;
        editor.SetFindText(findText);
        editor.FindFirst();
    } else if (options.Contains(frDown)) {
        editor.FindNext();
    } else {
        editor.FindPrev();
    }
}

void DoReplace(const std::string& findText, const std::string& replaceText, TFindOptions options,
               std::string& pageFindText, EditorSearch& editor) {
    if (options.Contains(frReplace)) {
        // After a find the hit is the selection, so the run stays inside it; without
        // one since the dialog was shown, it covers the whole text.
        const bool wholeText = !options.Contains(frFindNext);
        editor.FindReplace(findText, replaceText, true, true, wholeText);
    }
    if (options.Contains(frReplaceAll))
        editor.FindReplace(findText, replaceText, true, false, true);
    // The replace run left findText as the editor's search text; if the page still
    // remembered another one, the next find with that other text would go on
    // searching for this one.
    if (options.Contains(frReplace) || options.Contains(frReplaceAll)) pageFindText = findText;
}

}  // namespace zentabo
