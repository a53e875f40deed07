#pragma once

// The text transforms of the Edit menu. Each takes the selected text (the whole text
// when nothing is selected) in code page 932 and returns the text that replaces it.

#include <string>
#include <string_view>

namespace zentabo {

// Blank-line-separated paragraphs to <p> ... </p>, line breaks inside them to "<br />",
// then doubled "<p><p>", "<br /><br />" and "</p></p>" collapsed, so running it again
// over its own result changes nothing. The result is in joined form (CR LF after every
// line); an empty text gives an empty result.
std::string ConvertParagraphs(std::string_view text);

// "&" to "&amp;", "<" to "&lt;", ">" to "&gt;", '"' to "&quot;".
std::string EncodeHtml(std::string_view text);
// "&amp;" to "&" first, then "&lt;", "&gt;" and "&quot;" (so "&amp;lt;" gives "<").
// Other entities and other letter cases stay as they are.
std::string DecodeHtml(std::string_view text);

// "@" to "&#64;" and "." to "&#46;", and back.
std::string EncodeMail(std::string_view text);
std::string DecodeMail(std::string_view text);

// Remove blanks (bytes up to 32) at both ends, at the start, or at the end of every
// line; the full-width space is not a blank and a double-byte character is never cut.
// The result is in joined form.
std::string TrimLines(std::string_view text);
std::string TrimLinesLeft(std::string_view text);
std::string TrimLinesRight(std::string_view text);

// Every line of text (empty ones included) with mark before it, in joined form. An
// empty text gives an empty result: the caller pastes nothing then.
std::string QuoteLines(std::string_view text, std::string_view mark);

}  // namespace zentabo
