#pragma once

// Finds the URL, mail-address, "tag:" and HTML-tag runs of one display line. A run
// that reaches the end of a wrapped piece goes on in the next piece, so the scan hands
// back what is still open.

#include <string_view>
#include <vector>

namespace zentabo {

enum class OpenRun : unsigned char { None, HtmlTag, Url, TagBeforeDot, TagAfterDot };

struct TextRun {
    int start = 0;  // byte offsets in the display line's text, end excluded
    int end = 0;
    bool underline = false;
};

// text: the display line without its marker; next: the start of the next piece of the
// same logical line (empty after a line end), so a prefix cut by the wrap is still
// found. Appends the runs and answers the run left open at the end of text.
OpenRun ScanRuns(std::string_view text, std::string_view next, OpenRun carried, bool htmlTags,
                 bool singleByteMode, std::vector<TextRun>& runs);

}  // namespace zentabo
