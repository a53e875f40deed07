#pragma once

// Checks an XHTML page held as code page 932 bytes with libxml2: well-formedness,
// and validity against the XHTML DTD its DOCTYPE names (found locally through the XML
// catalog, never on the network). A page that does not start with an XML
// declaration, a DOCTYPE or <html is checked as a fragment of body content.
//
// Positions are the editor's: logical lines and byte columns from 0 (the user
// interface adds 1 to both), exact whatever Japanese text, tabs and line breaks come
// before the fault.
//
// CheckXhtml may run on a worker thread; one call never shares state with another.

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

enum class XhtmlDtd { kNone, kStrict10, kTransitional10, kFrameset10, kXhtml11 };

enum class XhtmlProblemKind {
    kElementNotClosed,
    kEndTagMismatch,
    kEndTagWithoutStart,
    kUndefinedEntity,
    kBareAmpersand,
    kAttributeWithoutQuotes,
    kAttributeWithoutValue,
    kDuplicateAttribute,
    kCharacterNotAllowed,
    kElementNotAllowed,
    kRequiredAttributeMissing,
    kEntityExpansion,  // a loop or an expansion bomb
    kExternalEntity,   // an external entity that was not read
    kInvalidCp932,     // bytes that are no code page 932 character
    kDtdNotValidated,  // a DOCTYPE whose DTD is not installed or not known
    kTooManyProblems,  // the list stops here
    kOther,
};

struct XhtmlProblem {
    XhtmlProblemKind kind = XhtmlProblemKind::kOther;
    std::size_t offset = 0;  // byte offset of the caret position in the text
    int line = 0;            // logical line of `offset`, from 0
    int column = 0;          // byte column of `offset` in that line, from 0
    // The offending tag (or entity reference) to select; selStart == selEnd when none
    // was found.
    std::size_t selStart = 0, selEnd = 0;
    std::string message;  // Japanese, UTF-8
};

struct XhtmlCheckOptions {
    // The DTD a fragment is validated against as the content of body; kNone checks
    // fragments for well-formedness only.
    XhtmlDtd fragmentDtd = XhtmlDtd::kStrict10;
    std::size_t maxProblems = 200;
};

struct XhtmlCheckResult {
    std::vector<XhtmlProblem> problems;  // in text order
    bool fragment = false;
    XhtmlDtd validatedWith = XhtmlDtd::kNone;  // kNone: well-formedness only
    bool cancelled = false;                    // the problems are then empty
};

// `cancel` (may be null) is polled while the check runs; once it reads true the check
// stops soon and returns with `cancelled` set.
XhtmlCheckResult CheckXhtml(std::string_view cp932Text, const XhtmlCheckOptions& options = {},
                            const std::atomic<bool>* cancel = nullptr);

}  // namespace zentabo
